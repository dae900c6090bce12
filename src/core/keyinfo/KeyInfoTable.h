#pragma once

#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace thornbeck {

// The key information table: for each key text, the tab-separated columns of its line in the
// key information file (column 0 the key, 1 the description, 2 the typical value). Keys compare
// without regard to ASCII letter case; the first line of a key wins.
class KeyInfoTable {
public:
    using Columns = std::vector<std::string>;

    // Reads the file's text: lines end at CR LF, a lone CR or a lone LF.
    static KeyInfoTable Parse(std::string_view contents);

    // Adds a record under its column 0 unless that key is already there; false when it was.
    bool add(Columns columns);
    // The record of a key, or null.
    const Columns* find(std::string_view key) const;
    size_t size() const { return records.size(); }
    bool empty() const { return records.empty(); }

private:
    struct FoldedHash {
        using is_transparent = void;
        size_t operator()(std::string_view key) const;
    };
    struct FoldedEqual {
        using is_transparent = void;
        bool operator()(std::string_view a, std::string_view b) const;
    };

    std::unordered_map<std::string, Columns, FoldedHash, FoldedEqual> records;
};

}  // namespace thornbeck
