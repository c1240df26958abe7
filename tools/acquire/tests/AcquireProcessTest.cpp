#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "DataFileLoad.h"

namespace fs = std::filesystem;

namespace {

using Clock = std::chrono::steady_clock;

std::string Slurp(const char* file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

// The tool built beside this test, run with its output in files of the
// test's working directory.
class Tool {
public:
    explicit Tool(std::vector<std::string> args) {
        const fs::path self = fs::read_symlink("/proc/self/exe");
        args.insert(args.begin(), (self.parent_path() / "quenlix-acquire").string());
        std::vector<char*> argv;
        for (std::string& a : args) argv.push_back(a.data());
        argv.push_back(nullptr);
        pid_ = ::fork();
        if (pid_ == 0) {
            ::dup2(::open("stdout.txt", O_WRONLY | O_CREAT | O_TRUNC, 0600), STDOUT_FILENO);
            ::dup2(::open("stderr.txt", O_WRONLY | O_CREAT | O_TRUNC, 0600), STDERR_FILENO);
            ::execv(argv[0], argv.data());
            ::_exit(127);
        }
    }
    ~Tool() {
        if (pid_ > 0 && !status_) {
            ::kill(pid_, SIGKILL);
            ::waitpid(pid_, nullptr, 0);
        }
    }
    void Signal(int signal) const { ::kill(pid_, signal); }
    // The exit code, or nothing when it has not ended within limit.
    std::optional<int> ExitCode(std::chrono::milliseconds limit) {
        const auto end = Clock::now() + limit;
        while (!status_ && Clock::now() < end) {
            int status = 0;
            if (::waitpid(pid_, &status, WNOHANG) == pid_) {
                status_ = status;
                break;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        if (!status_ || !WIFEXITED(*status_)) return std::nullopt;
        return WEXITSTATUS(*status_);
    }

private:
    pid_t pid_ = -1;
    std::optional<int> status_;
};

}  // namespace

TEST(AcquireProcess, ABadArgumentEndsWithCodeOneAndOneLineNamingIt) {
    Tool tool({"--simulate", "--integration-ms", "10", "--out", ".", "--colour", "red"});
    EXPECT_EQ(tool.ExitCode(std::chrono::seconds(10)), 1);
    EXPECT_EQ(Slurp("stderr.txt"),
              "quenlix-acquire: unknown option '--colour'\nTry 'quenlix-acquire --help'.\n");
    EXPECT_EQ(Slurp("stdout.txt"), "");
}

// Ctrl-C from the terminal: the run ends by itself with 0, the device
// closed, and every file it wrote is whole.
TEST(AcquireProcess, InterruptedItEndsCleanlyAndLeavesWholeFiles) {
    fs::create_directory("out");
    Tool tool({"--simulate=1", "--integration-ms", "4", "--count", "100000", "--out", "out"});
    const auto end = Clock::now() + std::chrono::seconds(20);
    while (!fs::exists("out/spectrum_00003.txt") && Clock::now() < end)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    ASSERT_TRUE(fs::exists("out/spectrum_00003.txt")) << Slurp("stderr.txt");
    tool.Signal(SIGINT);
    EXPECT_EQ(tool.ExitCode(std::chrono::seconds(10)), 0) << "ended by itself";
    EXPECT_NE(Slurp("stderr.txt").find("quenlix-acquire: stopped after "), std::string::npos);
    int files = 0;
    for (const auto& entry : fs::directory_iterator("out")) {
        ++files;
        EXPECT_EQ(entry.path().extension(), ".txt") << "no temporary file left: " << entry.path();
        CDataFileLoad load;
        EXPECT_EQ(load.SetLoadingSingleDataFilePath(entry.path().wstring()), 1) << entry.path();
        EXPECT_EQ(load.GetPixelCount(), 3629) << "the display window";
    }
    EXPECT_GE(files, 4);
}

TEST(AcquireProcess, WithOutDashTheSpectraGoToStandardOutputAsCsv) {
    Tool tool({"--simulate=1", "--integration-ms", "10", "--count", "2", "--out", "-"});
    EXPECT_EQ(tool.ExitCode(std::chrono::seconds(20)), 0) << Slurp("stderr.txt");
    const std::string csv = Slurp("stdout.txt");
    EXPECT_EQ(csv.rfind("# ", 0), 0u);
    std::size_t lines = 0;
    for (char c : csv) lines += c == '\n';
    EXPECT_GT(lines, 2u * 3629);
    EXPECT_EQ(Slurp("stderr.txt"), "");
}
