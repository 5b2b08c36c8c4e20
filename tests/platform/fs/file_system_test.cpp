#include "platform/fs/file_system.h"

#include <gtest/gtest.h>

#include "support/temp_folder.h"

#include <filesystem>
#include <sys/stat.h>

namespace fs = std::filesystem;

namespace {

class FileSystemTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        dir = tmp_.Path();
        fs::create_directories(dir);
    }
    TempFolder tmp_{"tevlan-fs-"};
    fs::path dir;
};

TEST_F(FileSystemTest, AtomicWriteReplacesAndLeavesNoTemporaryFile)
{
    std::string path = (dir / "a.txt").string();
    ASSERT_TRUE(platform::WriteFileAtomic(path, "one"));
    ASSERT_TRUE(platform::WriteFileAtomic(path, std::string("two\0bytes", 9)));
    EXPECT_EQ(*platform::ReadWholeFile(path), std::string("two\0bytes", 9));
    EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 1);
}

TEST_F(FileSystemTest, ReadOnlyTargetIsReadButNotReplaced)
{
    std::string path = (dir / "ro.txt").string();
    ASSERT_TRUE(platform::WriteFileAtomic(path, "keep"));
    ::chmod(path.c_str(), 0444);
    EXPECT_EQ(*platform::ReadWholeFile(path), "keep");
    EXPECT_FALSE(platform::WriteFileAtomic(path, "lost"));
    EXPECT_EQ(*platform::ReadWholeFile(path), "keep");
}

TEST_F(FileSystemTest, MissingFolderFailsWithoutCreatingAnything)
{
    std::string path = (dir / "no" / "such.txt").string();
    EXPECT_FALSE(platform::WriteFileAtomic(path, "x"));
    EXPECT_FALSE(platform::ReadWholeFile(path).has_value());
    EXPECT_FALSE(platform::ReadWholeFile(dir.string()).has_value());
    EXPECT_TRUE(platform::MakeDirectory((dir / "no").string()));
    EXPECT_TRUE(platform::MakeDirectory((dir / "no").string()));
    EXPECT_TRUE(platform::WriteFileAtomic(path, "x"));
}

}  // namespace
