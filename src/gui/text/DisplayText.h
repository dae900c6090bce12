#pragma once

#include <QString>
#include <string_view>

#include "gui/text/Latin1Text.h"

namespace thornbeck {

// What a view cell paints of a byte text. No cell is wide enough to show more than the first few
// hundred characters, and laying out a long text on every repaint makes scrolling crawl and
// costs a crafted file's tree of thousands of 12,000-character keys more memory than the file,
// so the cell gets only the start of a long text; the text itself stays whole.
inline QString DisplayText(std::string_view bytes) {
    constexpr size_t kShown = 256;
    if (bytes.size() <= kShown) return ToQString(bytes);
    return ToQString(bytes.substr(0, kShown)) + QChar(0x2026);
}

}  // namespace thornbeck
