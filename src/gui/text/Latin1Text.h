#pragma once

#include <QString>
#include <string>
#include <string_view>

// Byte texts hold one byte per character. In the window they are QStrings through Latin-1, so
// every byte value 0 to 255 round-trips.
namespace thornbeck {

QString ToQString(std::string_view bytes);
// Characters above U+00FF have no byte; they become "?".
std::string ToByteText(const QString& text);
// True when every character has a byte (U+0000 to U+00FF).
bool IsByteText(const QString& text);

}  // namespace thornbeck
