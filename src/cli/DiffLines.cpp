#include "cli/DiffLines.h"

namespace thornbeck::cli {

std::vector<DiffLine> DiffLinesOf(const std::vector<KeyDifference>& differences) {
    std::vector<DiffLine> lines;
    for (const KeyDifference& difference : differences) {
        switch (difference.kind) {
            case KeyDifference::OnlyInA:
                lines.push_back({"only in A", difference.key, std::nullopt, {}, {}});
                break;
            case KeyDifference::OnlyInB:
                lines.push_back({"only in B", difference.key, std::nullopt, {}, {}});
                break;
            case KeyDifference::Changed:
                for (const FieldChange& change : difference.changes)
                    lines.push_back({"changed", difference.key, FieldName(change.field),
                                     change.before, change.after});
                break;
        }
    }
    return lines;
}

}  // namespace thornbeck::cli
