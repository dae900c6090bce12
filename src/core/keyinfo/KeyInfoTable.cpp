#include "core/keyinfo/KeyInfoTable.h"

#include <cstdint>

#include "core/text/TextFunctions.h"

namespace thornbeck {

size_t KeyInfoTable::FoldedHash::operator()(std::string_view key) const {
    // FNV-1a over the lower-cased bytes.
    uint64_t hash = kFnv1aStart;
    for (const char c : key) hash = Fnv1aStep(hash, static_cast<uint8_t>(ToLowerAscii(c)));
    return static_cast<size_t>(hash);
}

bool KeyInfoTable::FoldedEqual::operator()(std::string_view a, std::string_view b) const {
    return EqualsIgnoringAsciiCase(a, b);
}

KeyInfoTable KeyInfoTable::Parse(std::string_view contents) {
    KeyInfoTable table;
    size_t start = 0;
    while (start < contents.size()) {
        size_t end = contents.find_first_of("\r\n", start);
        if (end == std::string_view::npos) end = contents.size();
        table.add(SplitText(contents.substr(start, end - start), "\t"));
        // CR LF is one line end; a lone CR or a lone LF is one as well.
        start = end + 1;
        if (end < contents.size() && contents[end] == '\r' && start < contents.size() &&
            contents[start] == '\n')
            ++start;
    }
    return table;
}

bool KeyInfoTable::add(Columns columns) {
    if (columns.empty()) return false;
    std::string key = columns[0];
    return records.try_emplace(std::move(key), std::move(columns)).second;
}

const KeyInfoTable::Columns* KeyInfoTable::find(std::string_view key) const {
    const auto found = records.find(key);
    return found == records.end() ? nullptr : &found->second;
}

}  // namespace thornbeck
