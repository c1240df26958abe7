#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <optional>
#include <string>
#include <thread>

#include "SettingsPath.h"

namespace {

namespace fs = std::filesystem;
using quenlix::SettingsFolder;
using Source = SettingsFolder::Source;

// Sets environment variables for one test and puts the old values back.
class ScopedEnvironment {
public:
    ~ScopedEnvironment() {
        for (const auto& [name, value] : saved_) {
            if (value) {
                setenv(name.c_str(), value->c_str(), 1);
            } else {
                unsetenv(name.c_str());
            }
        }
    }
    void Set(const std::string& name, const std::optional<std::string>& value) {
        if (!saved_.count(name)) {
            const char* old = std::getenv(name.c_str());
            saved_[name] = old ? std::optional<std::string>(old) : std::nullopt;
        }
        if (value) {
            setenv(name.c_str(), value->c_str(), 1);
        } else {
            unsetenv(name.c_str());
        }
    }

private:
    std::map<std::string, std::optional<std::string>> saved_;
};

// Each test starts in a fresh working directory, here with an empty config/.
class SettingsFolderRule : public ::testing::Test {
protected:
    void SetUp() override {
        fs::create_directory("config");
        quenlix::ChooseSettingsFolder();
    }
    const fs::path here = fs::current_path();
    ScopedEnvironment environment;
};

TEST_F(SettingsFolderRule, PortableConfigThenXdgConfigHomeThenHomeAndTheOptionOverAll) {
    environment.Set("XDG_CONFIG_HOME", (here / "xdg").string());
    environment.Set("HOME", (here / "home").string());
    const auto expect = [](const SettingsFolder& folder, const fs::path& path, Source source) {
        EXPECT_EQ(folder.path, path.string());
        EXPECT_EQ(folder.source, source) << folder.path;
    };

    expect(quenlix::FindSettingsFolder({}), here / "config", Source::WorkingDirectory);
    expect(quenlix::FindSettingsFolder("mine/./a/"), here / "mine/a", Source::Option);
    expect(quenlix::FindSettingsFolder("/elsewhere/q"), "/elsewhere/q", Source::Option);

    fs::remove("config");
    std::ofstream("config") << "a file is no settings folder";
    expect(quenlix::FindSettingsFolder({}), here / "xdg/quenlix", Source::XdgConfigHome);
    expect(quenlix::FindSettingsFolder("/elsewhere/q"), "/elsewhere/q", Source::Option);
    // Unset, empty or relative: the base-directory rules fall back to ~/.config.
    using Value = std::optional<std::string>;
    for (const Value& xdg : {Value(), Value(""), Value("relative/xdg")}) {
        environment.Set("XDG_CONFIG_HOME", xdg);
        expect(quenlix::FindSettingsFolder({}), here / "home/.config/quenlix", Source::HomeConfig);
    }
    environment.Set("HOME", std::nullopt);
    expect(quenlix::FindSettingsFolder({}), here / "config", Source::NoHome);
    EXPECT_FALSE(fs::exists("xdg") || fs::exists("home")) << "finding the folder creates nothing";
}

TEST_F(SettingsFolderRule, ChosenOnceCreatedAtTheFirstWriteAndKeptAcrossDirectoryChanges) {
    fs::remove("config");
    environment.Set("XDG_CONFIG_HOME", (here / "xdg/deep").string());
    quenlix::ChooseSettingsFolder();
    const std::string expected = (here / "xdg/deep/quenlix/language.bin").string();
    EXPECT_EQ(quenlix::SettingsPath("config\\language.bin"), expected);
    EXPECT_FALSE(fs::exists("xdg")) << "reading creates nothing";

    // Neither a new config/ nor another working directory moves the settings.
    fs::create_directories("config");
    fs::create_directories("other/config");
    fs::current_path("other");
    const std::string path = quenlix::SettingsPathForWrite("Config/language.bin");
    fs::current_path(here);
    EXPECT_EQ(path, expected);
    EXPECT_TRUE(fs::is_directory("xdg/deep/quenlix")) << "the write path creates the folder with parents";
    EXPECT_EQ(quenlix::CurrentSettingsFolder().source, Source::XdgConfigHome);

    quenlix::ChooseSettingsFolder("given");
    EXPECT_EQ(quenlix::SettingsPath("i0.bin"), (here / "given/i0.bin").string());
    EXPECT_FALSE(fs::exists("given"));
    quenlix::SettingsPathForWrite("i0.bin");
    EXPECT_TRUE(fs::is_directory("given"));
}

TEST_F(SettingsFolderRule, ReadersOnOtherThreadsSeeAWholeFolder) {
    const std::string a = (here / "a/x").string();
    const std::string b = (here / "b/x").string();
    quenlix::ChooseSettingsFolder("a");
    std::thread reader([&] {
        for (int i = 0; i < 2000; ++i) {
            const std::string path = quenlix::SettingsPath("x");
            if (path != a && path != b) ADD_FAILURE() << path;
        }
    });
    for (int i = 0; i < 200; ++i) quenlix::ChooseSettingsFolder(i % 2 ? "a" : "b");
    reader.join();
}

TEST_F(SettingsFolderRule, BackslashAndCapitalisedNamesMeanOneFolder) {
    const std::string folder = (here / "config").string();
    EXPECT_EQ(quenlix::SettingsPath("config\\language.bin"), folder + "/language.bin");
    EXPECT_EQ(quenlix::SettingsPath("Config\\Excitation Wavelength.bin"),
              folder + "/Excitation Wavelength.bin");
    EXPECT_EQ(quenlix::SettingsPath("Config/laser port"), folder + "/laser port");
    EXPECT_EQ(quenlix::SettingsPath("config/last coords1%d.bin"), folder + "/last coords1%d.bin");
    EXPECT_EQ(quenlix::SettingsPath("i0.bin"), folder + "/i0.bin");
    EXPECT_EQ(quenlix::SettingsPath("configs/x.bin"), folder + "/configs/x.bin") << "only the folder itself";

    const std::string path = quenlix::SettingsPathForWrite("Config\\Standard Wavelength.bin");
    std::ofstream(path) << "x";
    EXPECT_TRUE(fs::exists("config/Standard Wavelength.bin"));
}

}  // namespace
