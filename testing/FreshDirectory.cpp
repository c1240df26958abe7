#include "FreshDirectory.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "SettingsPath.h"

namespace quenlix::testing {
namespace {

namespace fs = std::filesystem;

fs::path MakeTemporaryDirectory(const char* prefix) {
    std::string pattern = (fs::temp_directory_path() / prefix).string() + "-XXXXXX";
    if (mkdtemp(pattern.data()) == nullptr) return {};
    return pattern;
}

class FreshDirectoryListener : public ::testing::EmptyTestEventListener {
public:
    void OnTestProgramStart(const ::testing::UnitTest&) override {
        userSettings_ = MakeTemporaryDirectory("quenlix-test-xdg-config");
        if (userSettings_.empty()) {
            // Better no tests than tests that may write into ~/.config.
            std::fputs("cannot create a temporary XDG_CONFIG_HOME\n", stderr);
            std::exit(1);
        }
        setenv("XDG_CONFIG_HOME", userSettings_.c_str(), 1);
    }

    void OnTestProgramEnd(const ::testing::UnitTest&) override {
        std::error_code ignored;
        if (!userSettings_.empty()) fs::remove_all(userSettings_, ignored);
    }

    void OnTestStart(const ::testing::TestInfo&) override {
        original_ = fs::current_path();
        directory_ = MakeTemporaryDirectory("quenlix-test");
        if (directory_.empty()) {
            ADD_FAILURE() << "cannot create a temporary directory";
            return;
        }
        fs::current_path(directory_);
        // As a portable installation has it, but the folder is made only
        // when a setting is written, so the directory starts empty.
        ChooseSettingsFolder("config");
    }

    void OnTestEnd(const ::testing::TestInfo&) override {
        if (directory_.empty()) return;
        fs::current_path(original_);
        std::error_code ignored;
        fs::remove_all(directory_, ignored);
        directory_.clear();
    }

private:
    fs::path userSettings_;
    fs::path original_;
    fs::path directory_;
};

}  // namespace

void InstallFreshDirectoryPerTest() {
    ::testing::UnitTest::GetInstance()->listeners().Append(new FreshDirectoryListener);
}

}  // namespace quenlix::testing
