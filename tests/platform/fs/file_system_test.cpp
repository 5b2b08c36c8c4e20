#include "platform/fs/file_system.h"

#include <gtest/gtest.h>

#include "support/temp_folder.h"

#include <filesystem>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

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

TEST_F(FileSystemTest, SavingThroughALinkReplacesItsTargetAndKeepsTheLink)
{
    // Relative and absolute links, a chain of two, and one whose file does
    // not exist yet: each stays a link and its final file gets the bytes,
    // written in that file's own folder.
    fs::create_directories(dir / "dotfiles" / "deep");
    platform::WriteFileAtomic((dir / "dotfiles" / "a.ini").string(), "old");
    platform::WriteFileAtomic((dir / "dotfiles" / "deep" / "b.psf").string(), "old");
    struct Case {
        const char* link;
        std::string target;  // as stored in the link
        fs::path final;
    } cases[] = {
        {"rel.ini", "dotfiles/a.ini", dir / "dotfiles" / "a.ini"},
        {"abs.psf", (dir / "dotfiles" / "deep" / "b.psf").string(), dir / "dotfiles" / "deep" / "b.psf"},
        {"chain.ini", "rel.ini", dir / "dotfiles" / "a.ini"},
        {"dangling.psf", "dotfiles/new.psf", dir / "dotfiles" / "new.psf"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.link);
        const fs::path link = dir / c.link;
        fs::create_symlink(c.target, link);
        ASSERT_TRUE(platform::WriteFileAtomic(link.string(), std::string("new ") + c.link));
        EXPECT_TRUE(fs::is_symlink(link));
        EXPECT_EQ(fs::read_symlink(link).string(), c.target);
        EXPECT_EQ(platform::ReadWholeFile(c.final.string()).value_or(""), std::string("new ") + c.link);
    }
    for (const auto& e : fs::recursive_directory_iterator(dir))
        EXPECT_FALSE(platform::IsTemporaryFileName(e.path().filename().string())) << e.path();
    fs::create_symlink("loop2", dir / "loop1");
    fs::create_symlink("loop1", dir / "loop2");
    EXPECT_FALSE(platform::WriteFileAtomic((dir / "loop1").string(), "x"));
}

TEST_F(FileSystemTest, EqualBytesLeaveTheFileAlone)
{
    const std::string path = (dir / "same.txt").string();
    ASSERT_TRUE(platform::WriteFileAtomic(path, "same"));
    struct stat before{};
    ASSERT_EQ(::stat(path.c_str(), &before), 0);
    const timespec old[2] = {{1000000000, 0}, {1000000000, 0}};
    ASSERT_EQ(::utimensat(AT_FDCWD, path.c_str(), old, 0), 0);
    EXPECT_TRUE(platform::WriteFileAtomic(path, "same"));
    struct stat after{};
    ASSERT_EQ(::stat(path.c_str(), &after), 0);
    EXPECT_EQ(after.st_ino, before.st_ino);
    EXPECT_EQ(after.st_mtim.tv_sec, 1000000000);
    // Same length, other bytes: written.
    EXPECT_TRUE(platform::WriteFileAtomic(path, "SAME"));
    EXPECT_EQ(*platform::ReadWholeFile(path), "SAME");
}

TEST_F(FileSystemTest, OnlyOwnLeftoverTemporaryFilesAreRemoved)
{
    struct Entry {
        const char* name;
        bool leftover;
    } entries[] = {
        {"config.ini.tmp-Ab12Cd", true},
        {"default0.psf.tmp-XXXXXX", true},
        {"mine.psf.tmp-zz9", false},       // too short for ours
        {"mine.psf.tmp-abcdefg", false},   // too long
        {"mine.psf.tmp-ab_def", false},    // not a letter or digit
        {".tmp-abcdef", false},            // no name before it
        {"config.ini", false},
    };
    for (const Entry& e : entries) ASSERT_TRUE(platform::WriteFileAtomic((dir / e.name).string(), "x"));
    // A link and a folder named like ours are not files the writer made.
    fs::create_symlink(dir / "config.ini", dir / "link.tmp-abcdef");
    fs::create_directory(dir / "sub.tmp-abcdef");

    EXPECT_EQ(platform::RemoveStaleTemporaryFiles(dir.string()), 2);
    for (const Entry& e : entries) EXPECT_EQ(fs::exists(dir / e.name), !e.leftover) << e.name;
    EXPECT_TRUE(fs::is_symlink(dir / "link.tmp-abcdef"));
    EXPECT_TRUE(fs::is_directory(dir / "sub.tmp-abcdef"));
    EXPECT_EQ(platform::RemoveStaleTemporaryFiles((dir / "none").string()), 0);
}

}  // namespace
