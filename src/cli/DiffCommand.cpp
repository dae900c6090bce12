// diff: two files' entries compared by key.
#include "cli/Commands.h"
#include "cli/DiffLines.h"
#include "cli/EscapedText.h"
#include "cli/ExitCode.h"
#include "cli/LoadedRegistry.h"
#include "core/compare/EntryCompare.h"
#include "core/edit/EntryTexts.h"
#include "core/tweak/TweakWriter.h"

namespace thornbeck::cli {
namespace {

void WriteTsv(const std::vector<KeyDifference>& differences, std::ostream& out) {
    ForEachDiffLine(differences, [&out](const DiffLine& line) {
        out << line.kind << '\t' << VisibleText(line.key);
        if (line.field)
            out << '\t' << *line.field << '\t' << VisibleText(line.a) << '\t'
                << VisibleText(line.b);
        out << '\n';
    });
}

// One object per line of the TSV output; a key only in one file has no field and texts.
void WriteJson(const std::vector<KeyDifference>& differences, std::ostream& out) {
    bool first = true;
    out << '[';
    ForEachDiffLine(differences, [&](const DiffLine& line) {
        out << (first ? "\n  {" : ",\n  {") << "\"kind\": " << JsonString(line.kind)
            << ", \"key\": " << JsonString(line.key);
        if (line.field)
            out << ", \"field\": " << JsonString(*line.field) << ", \"a\": " << JsonString(line.a)
                << ", \"b\": " << JsonString(line.b);
        out << '}';
        first = false;
    });
    out << (first ? "]\n" : "\n]\n");
}

}  // namespace

int RunDiff(const Arguments& args, const Streams& io) {
    const std::string format = args.value("--format").value_or("tsv");
    if (format != "tsv" && format != "json" && format != "tweak")
        return UsageError("diff", "--format takes tsv, json or tweak", io.err);
    const auto a = LoadRegistry(args.operands[0], io.err);
    if (!a) return kExitError;
    const auto b = LoadRegistry(args.operands[1], io.err);
    if (!b) return kExitError;
    const auto differences =
        DiffEntries(a->image, a->index, b->image, b->index, args.has("--offsets"));
    if (format == "tweak") {
        // The tweak lists only what Modify can write; every difference still sets the status.
        const auto typeInA = [&a](std::string_view key) {
            const auto node = EntryNodeOfKey(a->index, key);
            return node ? FieldText(a->image, *a->index.nodes()[static_cast<size_t>(*node)].entry,
                                    kDataTypeField)
                        : std::string();
        };
        WriteTweak(TweakOfDifferences(differences, typeInA), io.out);
    } else if (format == "json") {
        WriteJson(differences, io.out);
    } else {
        WriteTsv(differences, io.out);
    }
    return differences.empty() ? kExitOk : kExitNegative;
}

}  // namespace thornbeck::cli
