#pragma once

#include <string>
#include <string_view>

namespace thornbeck {

// True when the text, apart from surrounding spaces, is a decimal number: an optional sign,
// digits with an optional decimal point, and an optional exponent. "" is not numeric.
bool IsNumericText(std::string_view text);
// What the lower information box shows for a key's typical value: "Typical Value: " before a
// numeric one, the text alone otherwise.
std::string TypicalValueText(std::string_view typical);

}  // namespace thornbeck
