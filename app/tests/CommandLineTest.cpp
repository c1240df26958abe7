#include <gtest/gtest.h>

#include <filesystem>
#include <vector>

#include "CommandLine.h"
#include "SettingsPath.h"

using namespace quenlix;

namespace {
CommandLine Parse(std::vector<const char*> args) {
    args.insert(args.begin(), "quenlix");
    return ParseCommandLine(static_cast<int>(args.size()), args.data());
}
}  // namespace

TEST(CommandLine, SimulateTakesAnOptionalCount) {
    EXPECT_EQ(Parse({}).simulatedDevices, -1);
    EXPECT_EQ(Parse({"--simulate"}).simulatedDevices, 2);
    EXPECT_EQ(Parse({"--simulate=5"}).simulatedDevices, 5);
    EXPECT_EQ(Parse({"--simulate=16"}).action, CommandLine::Action::Run);
    for (const char* bad : {"--simulate=", "--simulate=0", "--simulate=17", "--simulate=2x", "--simulate=-1"}) {
        const CommandLine c = Parse({bad});
        EXPECT_EQ(c.action, CommandLine::Action::Error) << bad;
        EXPECT_FALSE(c.error.empty());
    }
}

TEST(CommandLine, MiscalibratedSimulationImpliesSimulateButKeepsItsCount) {
    EXPECT_FALSE(Parse({"--simulate"}).firstSimulatedMiscalibrated);
    const CommandLine alone = Parse({"--simulate-miscalibrated"});
    EXPECT_EQ(alone.action, CommandLine::Action::Run);
    EXPECT_TRUE(alone.firstSimulatedMiscalibrated);
    EXPECT_EQ(alone.simulatedDevices, 2);
    // Either order: a count given by --simulate stands.
    EXPECT_EQ(Parse({"--simulate-miscalibrated", "--simulate=5"}).simulatedDevices, 5);
    EXPECT_EQ(Parse({"--simulate=1", "--simulate-miscalibrated"}).simulatedDevices, 1);
    EXPECT_EQ(Parse({"--simulate-miscalibrated=3"}).action, CommandLine::Action::Error);
    EXPECT_NE(UsageText("quenlix").find("--simulate-miscalibrated"), std::string::npos);
}

TEST(CommandLine, HelpVersionAndUnknownOptions) {
    EXPECT_EQ(Parse({"--simulate", "--help"}).action, CommandLine::Action::Help);
    EXPECT_EQ(Parse({"--version"}).action, CommandLine::Action::Version);
    EXPECT_EQ(Parse({"--frobnicate"}).action, CommandLine::Action::Error);
    EXPECT_EQ(Parse({"file.txt"}).action, CommandLine::Action::Error);
    // Qt's own options pass through with their values.
    const CommandLine qt = Parse({"-platform", "offscreen", "--simulate=3"});
    EXPECT_EQ(qt.action, CommandLine::Action::Run);
    EXPECT_EQ(qt.simulatedDevices, 3);
}

TEST(CommandLine, AWindowSystemNamedForQtCounts) {
    EXPECT_FALSE(Parse({"--simulate"}).windowSystemGiven);
    EXPECT_FALSE(Parse({"-style", "platform"}).windowSystemGiven) << "a value is no option";
    for (const char* option : {"-platform", "--platform", "-display"})
        EXPECT_TRUE(Parse({option, "x"}).windowSystemGiven) << option;
}

TEST(CommandLine, ScenesNameOneSceneEachUnitAndImplySimulation) {
    using kestrion::Scene;
    const struct {
        std::vector<const char*> args;
        std::vector<Scene> scenes;
        int devices;
    } good[] = {
        {{}, {}, -1},
        {{"--simulate=3"}, {}, 3},
        {{"--scene=sample"}, {Scene::AbsorbingSample}, 2},
        {{"--scene=libs", "--simulate=4"}, {Scene::LaserPlasma}, 4},
        {{"--simulate=1", "--scene=lamp,ruby,sample,libs"},
         {Scene::MercuryArgonLamp, Scene::RubyFluorescence, Scene::AbsorbingSample, Scene::LaserPlasma}, 1},
        {{"--scene=ruby", "--scene=sample,sample"}, {Scene::AbsorbingSample, Scene::AbsorbingSample}, 2},
    };
    for (const auto& c : good) {
        const CommandLine parsed = Parse(c.args);
        SCOPED_TRACE(c.args.empty() ? "" : c.args.front());
        EXPECT_EQ(parsed.action, CommandLine::Action::Run);
        EXPECT_EQ(parsed.scenes, c.scenes);
        EXPECT_EQ(parsed.simulatedDevices, c.devices);
    }
    const struct {
        const char* arg;
        const char* named;  // the name the message quotes
    } bad[] = {{"--scene=", "''"},          {"--scene=Sample", "'Sample'"},  {"--scene=sample,", "''"},
               {"--scene=,lamp", "''"},     {"--scene=lamp,,ruby", "''"},   {"--scene=lamp,plasma", "'plasma'"}};
    for (const auto& c : bad) {
        const CommandLine parsed = Parse({c.arg});
        EXPECT_EQ(parsed.action, CommandLine::Action::Error) << c.arg;
        EXPECT_EQ(parsed.error.rfind("--scene", 0), 0u) << "names the argument: " << parsed.error;
        EXPECT_NE(parsed.error.find(c.named), std::string::npos) << parsed.error;
        EXPECT_EQ(parsed.error.find('\n'), std::string::npos) << "one line: " << parsed.error;
    }
    EXPECT_EQ(Parse({"--scene"}).action, CommandLine::Action::Error) << "a scene is needed";
    const std::string usage = UsageText("quenlix");
    for (const char* word : {"--scene=", "lamp", "ruby", "sample", "libs"})
        EXPECT_NE(usage.find(word), std::string::npos) << word;
}

TEST(CommandLine, ConfigDirTakesTheNextArgumentOrAnEqualsValue) {
    EXPECT_TRUE(Parse({"--simulate"}).settingsFolder.empty());
    EXPECT_EQ(Parse({"--config-dir", "/srv/q settings"}).settingsFolder, "/srv/q settings");
    const CommandLine both = Parse({"--config-dir=rel/dir", "--simulate=3"});
    EXPECT_EQ(both.action, CommandLine::Action::Run);
    EXPECT_EQ(both.settingsFolder, "rel/dir");
    EXPECT_EQ(both.simulatedDevices, 3);
    for (const auto& args : std::vector<std::vector<const char*>>{
             {"--config-dir"}, {"--config-dir="}, {"--config-dir", ""}, {"--config-dir", "--simulate"}}) {
        const CommandLine parsed = Parse(args);
        EXPECT_EQ(parsed.action, CommandLine::Action::Error) << args.size();
        EXPECT_EQ(parsed.error.rfind("--config-dir", 0), 0u) << parsed.error;
        EXPECT_EQ(parsed.error.find('\n'), std::string::npos) << "one line: " << parsed.error;
    }
}

// The help names the folder chosen when it is shown, and why that one.
TEST(CommandLine, HelpTellsTheSettingsFolderInUse) {
    const std::string here = std::filesystem::current_path().string();
    std::filesystem::create_directory("config");
    ChooseSettingsFolder();
    const std::string portable = UsageText("quenlix");
    EXPECT_NE(portable.find("Settings folder: " + here + "/config (config/ in the working directory)\n"),
              std::string::npos)
        << portable;
    ChooseSettingsFolder("/srv/elsewhere/");
    const std::string given = UsageText("quenlix");
    EXPECT_NE(given.find("Settings folder: /srv/elsewhere (given by --config-dir)\n"), std::string::npos);
    EXPECT_NE(given.find("--config-dir DIR"), std::string::npos);
}
