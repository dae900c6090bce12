#pragma once

#include <string_view>

namespace thornbeck {

// One level of a registry key path: the key of its parent level ("" for a top-level key) and the
// level's own text. Both are views into the name that was split.
struct KeyLevel {
    std::string_view parent;
    std::string_view text;
};

// "/a/b/c" gives parent "/a/b" and text "c"; "/a" gives a top-level "a". A name without any
// separator is a top-level key whose text is the whole name. "\" also separates, and nothing
// from the first "?" on is looked at for a separator. The parent is always shorter than the name.
KeyLevel SplitKeyPath(std::string_view name);

}  // namespace thornbeck
