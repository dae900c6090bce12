#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "core/edit/DetailField.h"
#include "core/format/RegistryFormat.h"

namespace thornbeck {

// Why Modify refuses `text` in `field` of an entry of `type` and `size` value bytes, in a
// sentence without the field's caption ("takes hex digits only"); "" when the text itself is
// one Modify takes (it may still refuse the change it makes, for where it would move the data).
// `valueIsLatin1` is false when the Value text held a character without a byte.
std::string RefusalReason(DetailField field, std::string_view text,
                          std::optional<format::DataType> type, int32_t size,
                          bool valueIsLatin1 = true);

}  // namespace thornbeck
