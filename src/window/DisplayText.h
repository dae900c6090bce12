#pragma once

#include <QString>
#include <string_view>

#include "helpers/Latin1Text.h"

namespace thornbeck {

// What a view cell paints of a byte text. No cell is wide enough to show more than the first
// few thousand characters, and laying out a 64 KiB value on every repaint would make scrolling
// crawl, so the cell gets only the start of a very long text; the text itself stays whole.
inline QString DisplayText(std::string_view bytes) {
    constexpr size_t kShown = 2048;
    if (bytes.size() <= kShown) return ToQString(bytes);
    return ToQString(bytes.substr(0, kShown)) + QChar(0x2026);
}

}  // namespace thornbeck
