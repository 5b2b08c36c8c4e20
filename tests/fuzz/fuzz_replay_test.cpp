// Runs every fuzz entry over its seed corpus (written at build time by
// fuzz_seed_generator) and over the crashers found so far, kept as hex text
// in tests/fuzz/regressions/<entry>/, so the normal suite keeps them fixed.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "fuzz_entries.h"

namespace fs = std::filesystem;

namespace {

const fs::path kCorpus = fs::path(TEVLAN_BINARY_DIR) / "fuzz_corpus";
const fs::path kRegressions = fs::path(TEVLAN_SOURCE_DIR) / "tests/fuzz/regressions";

std::vector<uint8_t> ReadBinary(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Hex digit pairs; white space is ignored and '#' starts a comment to the end
// of the line. False on anything else, or an odd digit count.
bool ParseHexText(const std::string& text, std::vector<uint8_t>& out)
{
    out.clear();
    int high = -1;
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '#') {
            while (i < text.size() && text[i] != '\n') ++i;
            continue;
        }
        if (std::isspace(static_cast<unsigned char>(c))) continue;
        if (!std::isxdigit(static_cast<unsigned char>(c))) return false;
        const int d = std::isdigit(static_cast<unsigned char>(c)) ? c - '0' : std::tolower(c) - 'a' + 10;
        if (high < 0) {
            high = d;
        } else {
            out.push_back(uint8_t(high * 16 + d));
            high = -1;
        }
    }
    return high < 0;
}

std::vector<fs::path> FilesIn(const fs::path& dir)
{
    std::vector<fs::path> files;
    std::error_code ec;
    if (!fs::is_directory(dir, ec)) return files;
    for (const auto& e : fs::directory_iterator(dir))
        if (e.is_regular_file()) files.push_back(e.path());
    std::sort(files.begin(), files.end());
    return files;
}

// Runs one input, turning a broken rule into a failure that names the input.
void RunInput(const FuzzEntry& entry, const std::vector<uint8_t>& input, const std::string& label)
{
    SetFuzzFailureHandler([&label](const char* what, const char* file, int line) {
        ADD_FAILURE_AT(file, line) << label << ": " << what;
    });
    entry.run(input.data(), input.size());
    SetFuzzFailureHandler({});
}

class FuzzReplay : public ::testing::TestWithParam<FuzzEntry> {};

TEST_P(FuzzReplay, SeedsAndTheirCutsKeepEveryRule)
{
    const FuzzEntry& entry = GetParam();
    const std::vector<fs::path> seeds = FilesIn(kCorpus / entry.name);
    ASSERT_FALSE(seeds.empty()) << "no seed corpus in " << (kCorpus / entry.name);
    for (const fs::path& seed : seeds) {
        const std::vector<uint8_t> bytes = ReadBinary(seed);
        ASSERT_FALSE(bytes.empty()) << seed;
        RunInput(entry, bytes, seed.string());
        // A file cut short (a full disk, a crash while writing) is what a
        // parser meets most often; cut at a few places, inside lines and reports.
        for (size_t cut : {size_t(0), size_t(1), size_t(3), bytes.size() / 3, bytes.size() / 2, bytes.size() - 1}) {
            if (cut >= bytes.size()) continue;
            RunInput(entry, std::vector<uint8_t>(bytes.begin(), bytes.begin() + long(cut)),
                     seed.string() + " cut at " + std::to_string(cut));
        }
    }
}

TEST_P(FuzzReplay, RegressionInputsStayFixed)
{
    const FuzzEntry& entry = GetParam();
    for (const fs::path& file : FilesIn(kRegressions / entry.name)) {
        std::ifstream in(file);
        std::stringstream text;
        text << in.rdbuf();
        std::vector<uint8_t> bytes;
        ASSERT_TRUE(ParseHexText(text.str(), bytes)) << file << " is not hex text";
        RunInput(entry, bytes, file.string());
    }
}

INSTANTIATE_TEST_SUITE_P(Entries, FuzzReplay, ::testing::ValuesIn(FuzzEntries()),
                         [](const ::testing::TestParamInfo<FuzzEntry>& info) { return std::string(info.param.name); });

// A regression kept under a folder no entry reads would silently never run.
TEST(FuzzRegressions, EveryFolderBelongsToAnEntry)
{
    std::set<std::string> names;
    for (const FuzzEntry& e : FuzzEntries()) names.insert(e.name);
    std::error_code ec;
    if (!fs::is_directory(kRegressions, ec)) return;
    for (const auto& e : fs::directory_iterator(kRegressions)) {
        if (!e.is_directory()) continue;
        EXPECT_TRUE(names.count(e.path().filename().string())) << e.path();
    }
}

TEST(FuzzRegressions, HexTextReading)
{
    std::vector<uint8_t> bytes;
    ASSERT_TRUE(ParseHexText("# a comment 0x12\n0c 01\tFF\n  a0 # trailing\n", bytes));
    EXPECT_EQ(bytes, (std::vector<uint8_t>{0x0C, 0x01, 0xFF, 0xA0}));
    EXPECT_FALSE(ParseHexText("0c 1", bytes));
    EXPECT_FALSE(ParseHexText("0x0c", bytes));
}

}  // namespace
