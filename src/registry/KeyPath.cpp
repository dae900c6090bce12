#include "registry/KeyPath.h"

#include "helpers/PathFunctions.h"

namespace thornbeck {

KeyLevel SplitKeyPath(std::string_view name) {
    const size_t p = LastSeparatorPosition(name);
    if (p == 0) return {{}, name};
    return {name.substr(0, p - 1), name.substr(p)};
}

}  // namespace thornbeck
