// The same-file test: one file reached by names spelled in different ways,
// an open file and a name, and names that lead to no file.
#include "store/same_file.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "store/test_folder.h"

namespace vrk {
namespace {

TEST(SameFile, OneFileSpelledThreeWaysIsTheSameAndAMissingOneNever) {
    const std::string dir = MakeTestFolder("same_file");
    ASSERT_FALSE(dir.empty());
    const std::string a = dir + "/a.vrk3", b = dir + "/b.vrk3", missing = dir + "/ni.vrk3";
    std::ofstream(a) << "x";
    std::ofstream(b) << "x";
    std::filesystem::create_symlink(a, dir + "/link.vrk3");
    std::filesystem::create_hard_link(a, dir + "/hard.vrk3");
    std::filesystem::create_directory(dir + "/sub");
    const TSameFile same(a);
    EXPECT_TRUE(same(dir + "/link.vrk3"));
    EXPECT_TRUE(same(dir + "/sub/../a.vrk3"));
    EXPECT_TRUE(same(dir + "/hard.vrk3"));
    EXPECT_FALSE(same(b));
    EXPECT_FALSE(same(missing));
    EXPECT_FALSE(IsSameFile(missing, missing));
    EXPECT_FALSE(IsSameFile("", ""));

    const int fd = ::open(a.c_str(), O_RDONLY | O_CLOEXEC);
    ASSERT_GE(fd, 0);
    EXPECT_TRUE(IsSameFile(fd, dir + "/link.vrk3"));
    EXPECT_FALSE(IsSameFile(fd, b));
    EXPECT_FALSE(IsSameFile(fd, missing));
    ::close(fd);
    std::filesystem::remove_all(dir);
}

}  // namespace
}  // namespace vrk
