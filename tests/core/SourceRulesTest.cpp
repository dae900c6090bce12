// Rules of the source tree that the compiler cannot check: they keep the window and the command
// line on the same core rules.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <regex>
#include <string>
#include <vector>

namespace {
namespace fs = std::filesystem;

struct Hit {
    std::string place;
    std::string line;
};

// Every line of the .h and .cpp files under `folder` that matches `pattern`, with its place.
std::vector<Hit> LinesMatching(const fs::path& folder, const std::regex& pattern) {
    std::vector<Hit> hits;
    for (const auto& entry : fs::recursive_directory_iterator(folder)) {
        const auto extension = entry.path().extension();
        if (extension != ".h" && extension != ".cpp") continue;
        std::ifstream in(entry.path());
        std::string line;
        for (int number = 1; std::getline(in, line); ++number)
            if (std::regex_search(line, pattern))
                hits.push_back({fs::relative(entry.path(), THORNBECK_SOURCE_DIR).generic_string() +
                                    ":" + std::to_string(number),
                                line});
    }
    return hits;
}

std::string Listed(const std::vector<Hit>& hits) {
    std::string text;
    for (const Hit& hit : hits) text += hit.place + ": " + hit.line + "\n";
    return text;
}

const fs::path kSource = THORNBECK_SOURCE_DIR;

// Editing is below comparing: taking another file's fields needs no part of the comparison.
TEST(SourceRules, EditingIncludesNothingOfCompare) {
    const auto hits =
        LinesMatching(kSource / "core" / "edit", std::regex(R"(#include "core/compare/)"));
    EXPECT_TRUE(hits.empty()) << Listed(hits);
}

TEST(SourceRules, NoWindowCodeFindsAWidgetByName) {
    ASSERT_TRUE(fs::is_directory(kSource / "gui"));
    const auto hits = LinesMatching(kSource / "gui", std::regex(R"(\bfindChild(ren)?\s*<)"));
    EXPECT_TRUE(hits.empty()) << Listed(hits);
}

// The image changes only through Modify and its change records (core/edit), so that every
// change can be undone and the window and the command line write the same bytes.
TEST(SourceRules, OnlyTheCoresEditingWritesTheImage) {
    const std::regex writes(
        R"(\b(writeClipped|writeNumber|shiftTail|ApplyChange|RevertChange)\s*\()");
    for (const char* folder : {"gui", "cli"}) {
        auto hits = LinesMatching(kSource / folder, writes);
        // The document replays its own history's records.
        std::erase_if(hits, [](const Hit& hit) {
            return hit.place.starts_with("gui/document/RegistryDocument.cpp:") &&
                   hit.line.find("Change(") != std::string::npos;
        });
        EXPECT_TRUE(hits.empty()) << Listed(hits);
    }
}

}  // namespace

namespace {

// The window and the command line save a registry file through the core's one SaveRegistry: no
// lock, disk stamp check or file identity test of their own.
TEST(SourceRules, TheWindowAndTheCommandLineSaveThroughOneFunction) {
    const std::regex ownSave(R"(\bQLockFile\b|\bLockFile\s+\w+\s*\(|\bCompareWithDisk\s*\(|)"
                             R"(\bfs::equivalent\s*\(|std::filesystem::equivalent\s*\()");
    for (const char* folder : {"gui", "cli"}) {
        auto hits = LinesMatching(kSource / folder, ownSave);
        // The lock that keeps a second window from starting locks no registry file.
        std::erase_if(
            hits, [](const Hit& hit) { return hit.place.starts_with("gui/window/Application."); });
        EXPECT_TRUE(hits.empty()) << Listed(hits);
        EXPECT_FALSE(LinesMatching(kSource / folder, std::regex(R"(\bSaveRegistry\s*\()")).empty())
            << folder;
    }
}

}  // namespace
