#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "core/edit/DetailField.h"
#include "core/edit/EntryChange.h"
#include "core/format/RegistryFormat.h"
#include "core/format/RegistryImage.h"
#include "core/index/RegistryIndex.h"

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
    // Unchanged: every field valid and as the entry already holds it; no byte was written.
    enum Kind { Ignored, Modified, Rejected, Unchanged };
    Kind kind = Ignored;
    DetailField field = kValueField;  // the field to reject, with its message
    std::string message;
    EntryChange change;  // what a Modified result changed
};

// Writes the panel's fields into the entry of tree node `node`: Data Size (Binary and String
// only, moving the rest of the data area by the difference), Value, Checksum, Flags, Header ID.
// Every field is validated first, in that order; the first failure is the result and nothing is
// written. Ignored when there is no type selection or the node is no entry. No byte outside the
// image is ever written, and no byte of the data area is pushed off the image's end. An edit
// after which a fresh load would walk other entries or read other key names is refused too
// (a size change with "Invalid size", any other field with "Invalid value"), so the index always
// equals a load of the image. The result records the change for undo and redo; an edit that
// would change no byte is Unchanged and records nothing.
ModifyResult ModifyEntry(RegistryImage& image, RegistryIndex& index, int32_t node,
                         const ModifyRequest& request);

// The size a Data Size text gives: its leading decimal digits (Data Size is decimal only);
// nothing when they denote more than 65535.
std::optional<int32_t> ParseDataSize(std::string_view text);

// The size Modify writes for a Data Size text: ParseDataSize of a text of 1 to 5 decimal digits;
// nothing for a text Modify rejects ("Invalid value"). The panel's Value limit and
// the command line use this too, so the limit shown is always the size written.
std::optional<int32_t> DataSizeOfText(std::string_view text);

}  // namespace thornbeck
