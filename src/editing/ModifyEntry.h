#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "editing/DetailField.h"
#include "registry/RegistryFormat.h"
#include "registry/RegistryImage.h"
#include "registry/RegistryIndex.h"

namespace thornbeck {

inline constexpr const char* kInvalidValue = "Invalid value";
inline constexpr const char* kInvalidSize = "Invalid size";

// What the details panel holds when Modify is pressed.
struct ModifyRequest {
    FieldTexts texts;                      // the eight field texts, one byte per character
    std::optional<format::DataType> type;  // the Data Type field's selection
    bool valueIsLatin1 = true;  // false when the Value text held a character without a byte
};

struct ModifyResult {
    enum Kind { Ignored, Modified, Rejected };
    Kind kind = Ignored;
    DetailField field = kValueField;  // the field to reject, with its message
    std::string message;
};

// Writes the panel's fields into the entry of tree node `node`: Data Size (Binary and String
// only, moving the rest of the data area by the difference), Value, Checksum, Flags, Header ID.
// Every field is validated first, in that order; the first failure is the result and nothing is
// written. Ignored when there is no type selection or the node is no entry. No byte outside the
// image is ever written, and no byte of the data area is pushed off the image's end.
ModifyResult ModifyEntry(RegistryImage& image, RegistryIndex& index, int32_t node,
                         const ModifyRequest& request);

// The size a Data Size text gives: its leading decimal digits, with an exponent after a letter E or
// D between digits ("1E2" is 100); nothing when it denotes more than 65535.
std::optional<int32_t> ParseDataSize(std::string_view text);

}  // namespace thornbeck
