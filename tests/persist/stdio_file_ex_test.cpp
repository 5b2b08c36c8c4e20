#include "persist/stdio_file_ex.h"

#include "platform/fs/file_system.h"

#include <gtest/gtest.h>

#include "support/temp_folder.h"

#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

std::string Le(const std::u16string& s)
{
    std::string out;
    for (char16_t c : s) {
        out.push_back(char(c & 0xFF));
        out.push_back(char(c >> 8));
    }
    return out;
}

const std::string kBom = "\xFF\xFE";

std::vector<std::u16string> ReadAll(const std::string& bytes, std::vector<bool>* results = nullptr)
{
    CStdioFileEx f;
    f.OpenBytes(bytes);
    std::vector<std::u16string> lines;
    std::u16string line;
    for (int guard = 0; guard < 10000; ++guard) {
        bool ok = f.ReadString(line);
        if (results) results->push_back(ok);
        if (!ok) break;
        lines.push_back(line);
    }
    return lines;
}

class StdioFileExTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        dir = tmp_.Path();
        fs::create_directories(dir);
    }
    void TearDown() override
    {
        fs::permissions(dir, fs::perms::owner_all, fs::perm_options::add);
    }
    std::string Path(const char* name) const { return (dir / name).string(); }
    TempFolder tmp_{"tevlan-sfe-"};
    fs::path dir;
};

TEST_F(StdioFileExTest, WritesMarkThenUnitsUnchanged)
{
    std::string path = Path("a.txt");
    CStdioFileEx f;
    ASSERT_TRUE(f.Open(path, CStdioFileEx::modeWrite));
    f.WriteString(u"[Setting]\n");
    f.WriteString(u"Name=配置\r\n");
    EXPECT_EQ(f.GetPosition(), 2u + 2 * 19);
    ASSERT_TRUE(f.Close());
    EXPECT_EQ(*platform::ReadWholeFile(path), kBom + Le(u"[Setting]\nName=配置\r\n"));

    CStdioFileEx r;
    ASSERT_TRUE(r.Open(path, CStdioFileEx::modeRead));
    std::u16string line;
    EXPECT_TRUE(r.ReadString(line));
    EXPECT_EQ(line, u"[Setting]");
    EXPECT_TRUE(r.ReadString(line));
    EXPECT_EQ(line, u"Name=配置\r");  // a carriage return is kept
    EXPECT_FALSE(r.ReadString(line));
    EXPECT_EQ(line, u"");
}

TEST_F(StdioFileExTest, MarkIsSkippedUnchecked)
{
    EXPECT_EQ(ReadAll(Le(u"[Setting]\nx")), (std::vector<std::u16string>{u"Setting]", u"x"}));
    EXPECT_TRUE(ReadAll("").empty());
    EXPECT_TRUE(ReadAll(kBom).empty());
    EXPECT_TRUE(ReadAll("\xFF").empty());
}

TEST_F(StdioFileExTest, BlankLinesAndTheLastLine)
{
    std::vector<bool> results;
    auto lines = ReadAll(kBom + Le(u"a\n\nb\n\n"), &results);
    EXPECT_EQ(lines, (std::vector<std::u16string>{u"a", u"\n", u"b", u"\n"}));
    EXPECT_EQ(results, (std::vector<bool>{true, true, true, true, false}));
    EXPECT_EQ(ReadAll(kBom + Le(u"a\nlast")), (std::vector<std::u16string>{u"a", u"last"}));
    // An odd byte at the end is not a unit.
    EXPECT_EQ(ReadAll(kBom + Le(u"ab") + "c"), (std::vector<std::u16string>{u"ab"}));
}

TEST_F(StdioFileExTest, LongLinesAcrossChunkBoundaries)
{
    for (size_t n : {127u, 128u, 129u, 255u, 256u, 257u, 3000u}) {
        SCOPED_TRACE(n);
        std::u16string longLine(n, u'x');
        longLine[n - 1] = u'y';
        auto lines = ReadAll(kBom + Le(longLine + u"\n" + u"next\n" + longLine));
        ASSERT_EQ(lines.size(), 3u);
        EXPECT_EQ(lines[0], longLine);
        EXPECT_EQ(lines[1], u"next");
        EXPECT_EQ(lines[2], longLine);
    }
}

TEST_F(StdioFileExTest, ReadOnlyFileReadsAndStaysUnchanged)
{
    std::string path = Path("ro.txt");
    ASSERT_TRUE(platform::WriteFileAtomic(path, kBom + Le(u"keep\n")));
    ::chmod(path.c_str(), 0444);
    CStdioFileEx f;
    ASSERT_TRUE(f.Open(path, CStdioFileEx::modeRead));
    std::u16string line;
    EXPECT_TRUE(f.ReadString(line));
    EXPECT_EQ(line, u"keep");
    EXPECT_TRUE(f.Close());
    EXPECT_EQ(fs::status(path).permissions() & fs::perms::all, fs::perms(0444));

    // Writing it is refused and leaves the old contents.
    CStdioFileEx w;
    ASSERT_TRUE(w.Open(path, CStdioFileEx::modeWrite));
    w.WriteString(u"lost\n");
    EXPECT_FALSE(w.Close());
    EXPECT_EQ(*platform::ReadWholeFile(path), kBom + Le(u"keep\n"));
}

TEST_F(StdioFileExTest, MissingFilesAndFolders)
{
    CStdioFileEx f;
    EXPECT_FALSE(f.Open(Path("none.txt"), CStdioFileEx::modeRead));
    EXPECT_FALSE(f.IsOpen());
    std::u16string line = u"stale";
    EXPECT_FALSE(f.ReadString(line));
    EXPECT_EQ(line, u"");

    ASSERT_TRUE(f.Open(Path("no/such.txt"), CStdioFileEx::modeWrite));
    f.WriteString(u"x");
    EXPECT_FALSE(f.Close());
    EXPECT_FALSE(fs::exists(dir / "no"));
}

TEST_F(StdioFileExTest, DestructionWritesAndReplacesWhole)
{
    std::string path = Path("d.txt");
    ASSERT_TRUE(platform::WriteFileAtomic(path, kBom + Le(u"old old old old\n")));
    {
        CStdioFileEx f;
        ASSERT_TRUE(f.Open(path, CStdioFileEx::modeWrite));
        f.WriteString(u"new\n");
    }
    EXPECT_EQ(*platform::ReadWholeFile(path), kBom + Le(u"new\n"));
    EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 1);
}

}  // namespace
