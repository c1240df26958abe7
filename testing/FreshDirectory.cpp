#include "FreshDirectory.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

namespace quenlix::testing {
namespace {

namespace fs = std::filesystem;

class FreshDirectoryListener : public ::testing::EmptyTestEventListener {
public:
    void OnTestStart(const ::testing::TestInfo&) override {
        original_ = fs::current_path();
        std::string pattern = (fs::temp_directory_path() / "quenlix-test-XXXXXX").string();
        if (mkdtemp(pattern.data()) == nullptr) {
            ADD_FAILURE() << "cannot create a temporary directory";
            return;
        }
        directory_ = pattern;
        fs::current_path(directory_);
    }

    void OnTestEnd(const ::testing::TestInfo&) override {
        if (directory_.empty()) return;
        fs::current_path(original_);
        std::error_code ignored;
        fs::remove_all(directory_, ignored);
        directory_.clear();
    }

private:
    fs::path original_;
    fs::path directory_;
};

}  // namespace

void InstallFreshDirectoryPerTest() {
    ::testing::UnitTest::GetInstance()->listeners().Append(new FreshDirectoryListener);
}

}  // namespace quenlix::testing
