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
    EXPECT_FALSE(Exists("config")) << "nothing ran";
}

// A signal used to end the program at once: the files written at exit were
// lost and the device threads cut. Now it closes the window as its close
// box does.
TEST_F(Program, TerminationSignalsCloseItAsItsWindowWouldBe) {
    environment.insert("QT_QPA_PLATFORM", "offscreen");
    for (int signal : {SIGTERM, SIGINT, SIGHUP}) {
        SCOPED_TRACE(signal);
        std::filesystem::remove_all(folder.filePath("config").toStdString());
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

}  // namespace
