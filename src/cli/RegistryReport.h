#pragma once

#include <cstdint>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "core/format/RegistryImage.h"

namespace thornbeck::cli {

// What `info` finds out about an image: its shape, the problems that make it unsound (a field
// that reaches outside the image, a file too short to be a registry file) and notes that are
// worth knowing but harm nothing.
struct RegistryReport {
    int64_t size = 0;
    bool refused = false;  // too short to be a registry file
    bool dataAreaMarker = false;
    bool headerRecord = false;
    int64_t entries = 0;       // every entry walked, repeated names included
    int64_t distinctKeys = 0;  // one per name: the list's rows
    std::optional<int32_t> endMarker;
    std::vector<std::string> problems;
    std::vector<std::string> notes;

    bool sound() const { return problems.empty(); }
};

// Walks the entries as the window's loader does and checks each one's key record, name and value
// against the image's bounds. Any bytes give a report; nothing is read outside the image.
RegistryReport InspectRegistry(const RegistryImage& image);
// One "label: value" line per fact, the file's name first, then one line per problem and note.
void PrintReport(std::string_view file, const RegistryReport& report, std::ostream& out);

}  // namespace thornbeck::cli
