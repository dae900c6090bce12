// diff: two files' entries compared by key.
#include "cli/Commands.h"
#include "cli/EntryDiff.h"
#include "cli/EscapedText.h"
#include "cli/ExitCode.h"
#include "cli/LoadedRegistry.h"

namespace thornbeck::cli {
namespace {

// "Data Size:" gives "Data Size".
std::string FieldName(DetailField field) {
    std::string name = PlainCaption(kFieldCaptions[static_cast<size_t>(field)]);
    if (!name.empty() && name.back() == ':') name.pop_back();
    return name;
}

}  // namespace

int RunDiff(const Arguments& args, const Streams& io) {
    const auto a = LoadRegistry(args.operands[0], io.err);
    if (!a) return kExitError;
    const auto b = LoadRegistry(args.operands[1], io.err);
    if (!b) return kExitError;
    const auto differences =
        DiffEntries(a->image, a->index, b->image, b->index, args.has("--offsets"));
    for (const KeyDifference& difference : differences) {
        const std::string key = VisibleText(difference.key);
        switch (difference.kind) {
            case KeyDifference::OnlyInA:
                io.out << "only in A\t" << key << '\n';
                break;
            case KeyDifference::OnlyInB:
                io.out << "only in B\t" << key << '\n';
                break;
            case KeyDifference::Changed:
                for (const FieldChange& change : difference.changes)
                    io.out << "changed\t" << key << '\t' << FieldName(change.field) << '\t'
                           << VisibleText(change.before) << '\t' << VisibleText(change.after)
                           << '\n';
                break;
        }
    }
    return differences.empty() ? kExitOk : kExitNegative;
}

}  // namespace thornbeck::cli
