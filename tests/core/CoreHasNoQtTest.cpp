// The core is plain C++: no file under src/core includes Qt, the window or the command line,
// so that the core builds, is tested and is fuzzed without them.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <regex>
#include <string>

namespace {

TEST(CoreBoundary, NoCoreFileIncludesQtTheWindowOrTheCommandLine) {
    const std::filesystem::path core = THORNBECK_CORE_SOURCE_DIR;
    ASSERT_TRUE(std::filesystem::is_directory(core));
    const std::regex forbidden(R"(^\s*#\s*include\s*[<"](Q[A-Za-z]|qt|gui/|cli/))");
    int files = 0;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(core)) {
        const auto extension = entry.path().extension();
        if (extension != ".h" && extension != ".cpp") continue;
        ++files;
        std::ifstream in(entry.path());
        std::string line;
        for (int number = 1; std::getline(in, line); ++number)
            EXPECT_FALSE(std::regex_search(line, forbidden))
                << entry.path().string() << ":" << number << ": " << line;
    }
    EXPECT_GT(files, 20);
}

}  // namespace
