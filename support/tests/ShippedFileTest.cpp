#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "ShippedFile.h"

namespace {

namespace fs = std::filesystem;
using quenlix::FindShippedFile;
using quenlix::ShippedKind;

void Put(const fs::path& path) {
    fs::create_directories(path.parent_path());
    std::ofstream(path) << "x";
}

// An installed tree under prefix/: the executable in bin/, the shipped files
// in share/; the working directory is elsewhere.
TEST(ShippedFile, WorkingDirectoryThenBesideTheExecutableThenTheShareFolder) {
    const fs::path here = fs::current_path();
    const fs::path bin = here / "prefix/bin";
    const std::string name = "Operation Manunal/Manual.pdf";
    const std::vector<std::string> documentPlaces = {(here / name).string(), (bin / name).string(),
                                                     (here / "prefix/share/doc/quenlix" / name).string()};

    auto search = FindShippedFile(name, ShippedKind::Document, bin);
    EXPECT_TRUE(search.found.empty());
    EXPECT_EQ(search.looked, documentPlaces);
    EXPECT_EQ(FindShippedFile("list.bin", ShippedKind::Data, bin).looked.back(),
              (here / "prefix/share/quenlix/list.bin").string());

    Put(here / "prefix/share/doc/quenlix" / name);
    Put(here / "prefix/share/quenlix" / name);  // data: not where documents are looked for
    search = FindShippedFile(name, ShippedKind::Document, bin);
    EXPECT_EQ(search.found, documentPlaces[2]);
    EXPECT_EQ(search.looked, documentPlaces);

    Put(bin / name);
    EXPECT_EQ(FindShippedFile(name, ShippedKind::Document, bin).found, documentPlaces[1]);

    // A folder in the file's place is passed over; a file in the working directory wins.
    fs::create_directories(here / name);
    EXPECT_EQ(FindShippedFile(name, ShippedKind::Document, bin).found, documentPlaces[1]);
    fs::remove(here / name);
    Put(here / name);
    search = FindShippedFile(name, ShippedKind::Document, bin);
    EXPECT_EQ(search.found, documentPlaces[0]);
    EXPECT_EQ(search.looked, std::vector<std::string>{documentPlaces[0]});
}

TEST(ShippedFile, TheRunningExecutablesFolderByDefault) {
    const fs::path folder = quenlix::ExecutableFolder();
    ASSERT_FALSE(folder.empty());
    EXPECT_TRUE(fs::exists(folder / "support_tests"));
    EXPECT_EQ(FindShippedFile("none.bin", ShippedKind::Data).looked.at(1), (folder / "none.bin").string());
}

}  // namespace
