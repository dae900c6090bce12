#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "core/edit/EntryTexts.h"
#include "core/edit/ModifyEntry.h"

namespace thornbeck::cli {

// The fields `set` was given, as texts; a field not given keeps the text the panel shows.
struct FieldEdits {
    std::optional<std::string> value;     // one byte per character (hex digits for "Integer")
    std::optional<std::string> valueHex;  // a Binary or String value as hex bytes
    std::optional<std::string> size;
    std::optional<std::string> checksum;
    std::optional<std::string> flags;
    std::optional<std::string> headerId;
};

struct PreparedEdit {
    ModifyRequest request;
    std::string usageProblem;  // a text no detail field could hold; empty when there is none
};

// What the details panel would hold after typing the edits into the entry's fields. A text the
// panel could never hold (a character its field refuses, more characters than it takes, a size
// for an "Integer" entry, a value longer than the entry) is wrong usage; a text it could hold is
// left for Modify to accept or reject, exactly as the button would.
PreparedEdit PrepareEdit(const EntryDisplay& shown, const FieldEdits& edits);

// A run of bytes that differ between two images of one length.
struct ByteRange {
    int64_t first = 0;
    int64_t length = 0;
};
std::vector<ByteRange> ChangedRanges(std::span<const uint8_t> before,
                                     std::span<const uint8_t> after);

}  // namespace thornbeck::cli
