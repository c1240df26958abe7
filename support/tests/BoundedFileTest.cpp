#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "BoundedFile.h"
#include "Deadline.h"

namespace {

using namespace std::chrono_literals;
using quenlix::FileRefusal;
using quenlix::ReadBoundedFile;
using quenlix::testing::ResultWithin;

FileRefusal RefusalWithin2s(const std::string& path, std::size_t limit) {
    const auto content = ResultWithin(2000ms, [path, limit] { return ReadBoundedFile(path, limit); });
    if (!content) {
        ADD_FAILURE() << path << " did not return within 2 s";
        return FileRefusal::ReadError;
    }
    return content->refusal;
}

TEST(BoundedFile, ReadsARegularFileUpToTheLimitAndNoMore) {
    std::ofstream("ten", std::ios::binary) << std::string("0123456\0\r\n", 10);
    const auto content = ReadBoundedFile("ten", 10);
    ASSERT_TRUE(content.Read());
    EXPECT_EQ(content.bytes, std::string("0123456\0\r\n", 10));
    EXPECT_EQ(ReadBoundedFile("ten", 9).refusal, FileRefusal::TooLarge);
    std::ofstream("empty");
    EXPECT_TRUE(ReadBoundedFile("empty", 0).Read());
    EXPECT_EQ(ReadBoundedFile("missing", 10).refusal, FileRefusal::CannotOpen);

    std::filesystem::create_symlink("ten", "link to ten");
    EXPECT_EQ(ReadBoundedFile("link to ten", 10).bytes.size(), 10u) << "a link to a regular file is read";
}

// Each of these once hung or blocked a reader that waited for end-of-file.
TEST(BoundedFile, RefusesWhatIsNoRegularFileWithoutWaiting) {
    std::filesystem::create_directory("folder");
    EXPECT_EQ(RefusalWithin2s("folder", 4096), FileRefusal::NotRegularFile);
    std::filesystem::create_symlink("/dev/zero", "zeros");
    EXPECT_EQ(RefusalWithin2s("zeros", 4096), FileRefusal::NotRegularFile);
    ASSERT_EQ(::mkfifo("pipe", 0600), 0);
    EXPECT_EQ(RefusalWithin2s("pipe", 4096), FileRefusal::NotRegularFile) << "a FIFO without a writer";
    EXPECT_EQ(RefusalWithin2s("/dev/null", 4096), FileRefusal::NotRegularFile);
}

TEST(BoundedFile, RefusesALargeFileFromItsSizeWithoutReadingIt) {
    // Sparse: 50 MB that cost nothing to make and would take long to read.
    std::ofstream("large").close();
    std::filesystem::resize_file("large", 50u << 20);
    EXPECT_EQ(RefusalWithin2s("large", 64u << 10), FileRefusal::TooLarge);
}

TEST(BoundedFile, AnUnreadableFileIsRefused) {
    if (::geteuid() == 0) GTEST_SKIP() << "root reads every file";
    std::ofstream("secret") << "x";
    std::filesystem::permissions("secret", std::filesystem::perms::none);
    EXPECT_EQ(ReadBoundedFile("secret", 10).refusal, FileRefusal::CannotOpen);
}

}  // namespace
