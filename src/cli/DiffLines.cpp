#include "cli/DiffLines.h"

namespace thornbeck::cli {

void ForEachDiffLine(const std::vector<KeyDifference>& differences,
                     const std::function<void(const DiffLine&)>& take) {
    for (const KeyDifference& difference : differences) {
        switch (difference.kind) {
            case KeyDifference::OnlyInA:
                take({"only in A", difference.key, std::nullopt, {}, {}});
                break;
            case KeyDifference::OnlyInB:
                take({"only in B", difference.key, std::nullopt, {}, {}});
                break;
            case KeyDifference::Changed:
                for (const FieldChange& change : difference.changes)
                    take({"changed", difference.key, FieldName(change.field), change.before,
                          change.after});
                break;
        }
    }
}

}  // namespace thornbeck::cli
