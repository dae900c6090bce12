#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/format/RegistryImage.h"
#include "core/index/RegistryIndex.h"

namespace thornbeck {

// What a file is made of and what is wrong with it: its shape, the problems that make it unsound
// (a field that reaches outside the image, no data-area marker, no entries, a file too short to
// be a registry file) and notes that are worth knowing but harm nothing. The window's Problems
// pane and `thornbeck-cli info` show these same texts (UTF-8, bytes of keys escaped as the
// command line escapes them).
struct RegistryReport {
    struct Finding {
        std::string text;
        std::optional<int32_t> entry;  // the offset of the entry it is about, when one
    };
    int64_t size = 0;
    bool refused = false;  // too short to be a registry file
    bool dataAreaMarker = false;
    bool headerRecord = false;
    int64_t entries = 0;       // every entry walked, repeated names included
    int64_t distinctKeys = 0;  // one per name: the list's rows
    std::optional<int32_t> endMarker;
    std::vector<Finding> problems;
    std::vector<Finding> notes;

    bool sound() const { return problems.empty(); }
};

// Walks the entries as a load does and checks each one's key record, name and value against the
// image's bounds; the counts of names come from `index`, the image's own (IndexRegistry). Any
// bytes give a report; nothing is read outside the image.
RegistryReport InspectRegistry(const RegistryImage& image, const RegistryIndex& index);

}  // namespace thornbeck
