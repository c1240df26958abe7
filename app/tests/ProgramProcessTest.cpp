#include <gtest/gtest.h>
#include <signal.h>

#include <QCoreApplication>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "CommandLine.h"

namespace {

// Runs the built program as a child in a fresh working directory, with its
// own runtime folder so its single-instance lock meets no other run.
class Program : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(folder.isValid());
        ASSERT_TRUE(QDir(folder.path()).mkdir("runtime"));
        QFile::setPermissions(folder.filePath("runtime"), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        environment.insert("XDG_RUNTIME_DIR", folder.filePath("runtime"));
        environment.insert("XDG_CONFIG_HOME", folder.filePath("xdg"));
        process.setWorkingDirectory(folder.path());
    }
    void TearDown() override {
        if (process.state() != QProcess::NotRunning) {
            process.kill();
            process.waitForFinished(5000);
        }
    }

    void Start(const QStringList& arguments) {
        process.setProcessEnvironment(environment);
        process.start(QCoreApplication::applicationDirPath() + "/quenlix", arguments);
        ASSERT_TRUE(process.waitForStarted(5000));
    }
    bool Exists(const char* file) const { return QFile::exists(folder.filePath(file)); }

    QTemporaryDir folder;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    QProcess process;
};

// Qt aborted with a core dump when it found no display.
TEST_F(Program, WithoutADisplayItSaysHowToRunHeadlessAndEnds) {
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) environment.remove(name);
    Start({"--simulate"});
    ASSERT_TRUE(process.waitForFinished(10000));
    EXPECT_EQ(process.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(process.exitCode(), 1);
    const QString said = QString::fromUtf8(process.readAllStandardError());
    EXPECT_EQ(said, quenlix::kNoDisplayText);
    EXPECT_TRUE(said.contains("QT_QPA_PLATFORM=offscreen"));
    EXPECT_FALSE(Exists("config") || Exists("xdg")) << "nothing ran";
}

// A signal used to end the program at once: the files written at exit were
// lost and the device threads cut. Now it closes the window as its close
// box does.
TEST_F(Program, TerminationSignalsCloseItAsItsWindowWouldBe) {
    environment.insert("QT_QPA_PLATFORM", "offscreen");
    for (int signal : {SIGTERM, SIGINT, SIGHUP}) {
        SCOPED_TRACE(signal);
        std::filesystem::remove_all(folder.filePath("config").toStdString());
        std::filesystem::create_directory(folder.filePath("config").toStdString());  // the settings go there
        Start({"--simulate=2"});
        // The language file is written while the window is built, after the
        // handlers were installed.
        for (int i = 0; i < 200 && !Exists("config/language.bin"); ++i) QThread::msleep(50);
        ASSERT_TRUE(Exists("config/language.bin")) << "the program did not come up";
        ASSERT_EQ(::kill(static_cast<pid_t>(process.processId()), signal), 0);
        ASSERT_TRUE(process.waitForFinished(3000)) << "still running 3 s after the signal";
        EXPECT_EQ(process.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(process.exitCode(), 0) << process.readAllStandardError().right(4000).toStdString();
        std::ifstream written(folder.filePath("config/Excitation Wavelength.bin").toStdString(), std::ios::binary);
        const std::string bytes{std::istreambuf_iterator<char>(written), {}};
        EXPECT_EQ(bytes, std::string("\0\0\0\0\0\x88\x88\x40", 8)) << "785 nm, written at exit";
    }
}

// The help says which settings folder a run would use, decided when it is asked.
TEST_F(Program, HelpNamesTheSettingsFolderInUse) {
    const auto help = [this](const QStringList& arguments) {
        Start(arguments);
        EXPECT_TRUE(process.waitForFinished(10000));
        EXPECT_EQ(process.exitCode(), 0);
        return QString::fromUtf8(process.readAllStandardOutput());
    };
    const QString xdg = help({"--help"});
    const QString xdgLine = "Settings folder: " + folder.filePath("xdg/quenlix") + " ($XDG_CONFIG_HOME/quenlix)\n";
    EXPECT_TRUE(xdg.contains(xdgLine)) << xdg.toStdString();
    QDir(folder.path()).mkdir("config");
    const QString portable = help({"--help"});
    const QString portableLine =
        "Settings folder: " + folder.filePath("config") + " (config/ in the working directory)\n";
    EXPECT_TRUE(portable.contains(portableLine)) << portable.toStdString();
    const QString given = help({"--config-dir", "/srv/q", "--help"});
    EXPECT_TRUE(given.contains("Settings folder: /srv/q (given by --config-dir)")) << given.toStdString();
    EXPECT_FALSE(Exists("xdg")) << "asking creates nothing";

    Start({"--config-dir="});
    ASSERT_TRUE(process.waitForFinished(10000));
    EXPECT_EQ(process.exitCode(), 2);
    EXPECT_TRUE(process.readAllStandardError().startsWith("quenlix: --config-dir needs a folder"));
}

// The folder given on the command line holds the settings from the start,
// even with a config/ in the working directory.
TEST_F(Program, ConfigDirHoldsTheSettingsFromTheStart) {
    environment.insert("QT_QPA_PLATFORM", "offscreen");
    QDir(folder.path()).mkdir("config");
    Start({"--simulate=1", "--config-dir=my settings"});
    for (int i = 0; i < 200 && !Exists("my settings/language.bin"); ++i) QThread::msleep(50);
    ASSERT_TRUE(Exists("my settings/language.bin")) << "the program did not come up";
    ASSERT_EQ(::kill(static_cast<pid_t>(process.processId()), SIGTERM), 0);
    ASSERT_TRUE(process.waitForFinished(3000));
    EXPECT_TRUE(Exists("my settings/Excitation Wavelength.bin")) << "written at exit";
    EXPECT_TRUE(QDir(folder.filePath("config")).isEmpty());
    EXPECT_FALSE(Exists("xdg"));
}

}  // namespace
