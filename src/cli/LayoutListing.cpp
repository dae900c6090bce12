#include "cli/LayoutListing.h"

#include "cli/EscapedText.h"

namespace thornbeck::cli {

void PrintLayout(const FileLayout& layout, std::ostream& out) {
    for (const FileRegion& region : layout.regions) {
        out << "region: " << OffsetText(region.from) << ' ' << region.length << " bytes "
            << region.name;
        if (!region.state.empty()) out << ": " << region.state;
        out << '\n';
    }
    for (const LooseValue& value : layout.looseValues)
        out << "loose value: " << OffsetText(value.offset) << ' ' << VisibleText(value.bytes)
            << '\n';
}

}  // namespace thornbeck::cli
