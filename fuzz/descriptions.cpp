// The descriptions file (key information): the table Parse builds against lines and columns cut
// by hand, and the texts the information boxes show for every record.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "Check.h"
#include "core/keyinfo/KeyInfoTable.h"
#include "core/keyinfo/TypicalValue.h"

namespace {

char Lower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool SameIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (Lower(a[i]) != Lower(b[i])) return false;
    return true;
}

std::string Swapped(std::string_view key) {
    std::string swapped(key);
    for (char& c : swapped) {
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
        else if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    }
    return swapped;
}

// Lines end at CR LF, a lone CR or a lone LF; the text after the last line end, if any, is a
// last line. Columns are separated by tabs: n tabs give n + 1 columns.
std::vector<std::vector<std::string>> Records(std::string_view text) {
    std::vector<std::vector<std::string>> lines;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = start;
        while (end < text.size() && text[end] != '\r' && text[end] != '\n') ++end;
        std::vector<std::string> columns(1);
        for (size_t i = start; i < end; ++i) {
            if (text[i] == '\t') {
                columns.emplace_back();
            } else {
                columns.back() += text[i];
            }
        }
        lines.push_back(std::move(columns));
        start = end + (end + 1 < text.size() && text[end] == '\r' && text[end + 1] == '\n' ? 2 : 1);
    }
    return lines;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const thornbeck::KeyInfoTable table = thornbeck::KeyInfoTable::Parse(text);

    // The first line of a key (in any letter case) wins.
    std::vector<std::vector<std::string>> kept;
    for (auto& line : Records(text)) {
        bool known = false;
        for (const auto& earlier : kept) known = known || SameIgnoringCase(earlier[0], line[0]);
        if (!known) kept.push_back(std::move(line));
        if (kept.size() > 2000) return 0;  // the check above is quadratic
    }
    FUZZ_CHECK(table.size() == kept.size());
    for (const auto& record : kept) {
        const auto* found = table.find(record[0]);
        FUZZ_CHECK(found && *found == record);
        FUZZ_CHECK(table.find(Swapped(record[0])) == found);
        if (record.size() > 2) {
            const std::string shown = thornbeck::TypicalValueText(record[2]);
            FUZZ_CHECK(shown.size() >= record[2].size());
            FUZZ_CHECK(shown.substr(shown.size() - record[2].size()) == record[2]);
        }
    }
    return 0;
}
