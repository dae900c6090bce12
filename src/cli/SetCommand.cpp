// set: Modify on one entry, then Save.
#include <algorithm>
#include <optional>
#include <vector>

#include "cli/Commands.h"
#include "cli/EditedSave.h"
#include "cli/EntryEdit.h"
#include "cli/EscapedText.h"
#include "cli/ExitCode.h"
#include "cli/LoadedRegistry.h"
#include "core/edit/EntryTexts.h"
#include "core/edit/ValueText.h"
#include "core/format/RegistryFormat.h"

namespace thornbeck::cli {
namespace {

// Short ranges show their bytes; a size change moves the whole rest of the data area, which is
// better told by its extent.
constexpr int64_t kShownBytes = 16;

void PrintRange(std::span<const uint8_t> before, std::span<const uint8_t> after,
                const ByteRange& range, std::ostream& out) {
    out << OffsetText(range.first) << '-' << OffsetText(range.first + range.length - 1) << ' '
        << range.length << (range.length == 1 ? " byte" : " bytes");
    if (range.length <= kShownBytes) {
        const auto first = static_cast<size_t>(range.first);
        const auto length = static_cast<size_t>(range.length);
        out << ": " << HexPairs(before.subspan(first, length)) << " -> "
            << HexPairs(after.subspan(first, length));
    }
    out << '\n';
}

// Every changed range up to `movedFrom`; past it, where a size change moved the rest of the data
// area, one line for the whole extent instead of the many fragments the move leaves.
// The value itself, from `valueFrom`, is one range too: a grown value lies over bytes of the
// old data area, which differ from it in many short fragments.
void PrintChanges(std::span<const uint8_t> before, std::span<const uint8_t> after,
                  int64_t valueFrom, int64_t movedFrom, int64_t delta, std::ostream& out,
                  std::ostream& err) {
    std::optional<ByteRange> moved;
    std::vector<ByteRange> ranges;
    for (ByteRange range : ChangedRanges(before, after)) {
        const int64_t end = std::min(range.first + range.length, movedFrom);
        const bool inValue = range.first >= valueFrom && range.first < movedFrom;
        if (inValue && !ranges.empty() && ranges.back().first >= valueFrom) {
            ranges.back().length = end - ranges.back().first;
            range = {end, range.first + range.length - end};
            if (range.length == 0) continue;
        }
        ranges.push_back(range);
    }
    if (ranges.empty()) err << "thornbeck-cli: no byte would change\n";
    for (ByteRange range : ranges) {
        if (delta != 0 && range.first + range.length > movedFrom) {
            const int64_t end = range.first + range.length;
            if (range.first < movedFrom) {
                PrintRange(before, after, {range.first, movedFrom - range.first}, out);
                range = {movedFrom, end - movedFrom};
            }
            if (!moved) moved = range;
            moved->length = end - moved->first;
            continue;
        }
        PrintRange(before, after, range, out);
    }
    if (moved)
        out << OffsetText(moved->first) << '-' << OffsetText(moved->first + moved->length - 1)
            << ' ' << moved->length << " bytes: the rest of the data area moved by "
            << (delta > 0 ? "+" : "") << delta << '\n';
}

FieldEdits EditsOf(const Arguments& args) {
    return {args.value("--value"),    args.value("--value-hex"), args.value("--size"),
            args.value("--checksum"), args.value("--flags"),     args.value("--header-id")};
}

}  // namespace

int RunSet(const Arguments& args, const Streams& io) {
    const FieldEdits edits = EditsOf(args);
    if (!edits.value && !edits.valueHex && !edits.size && !edits.checksum && !edits.flags &&
        !edits.headerId)
        return UsageError("set",
                          "name a field to change: --value, --value-hex, --size, --checksum, "
                          "--flags or --header-id",
                          io.err);
    LockedEdit edit = LockAndLoad("set", args, io.err);
    if (!edit.file) return edit.exitCode;
    auto& file = edit.file;
    const std::string& key = args.operands[1];
    const auto found = RequireEntry(*file, key, io.err);
    if (!found) return kExitNegative;
    const std::string where = file->name + ": " + ArgumentText(key);
    const EntryDisplay shown = DescribeEntry(file->image, found->entry);
    if (!shown.type) {
        // The panel shows no type for it, and Modify leaves such an entry alone.
        ReportFileProblem(where, "its data type byte is none of Binary, Integer, String", io.err);
        return kExitNegative;
    }
    const PreparedEdit prepared = PrepareEdit(shown, edits);
    if (!prepared.usageProblem.empty())
        return UsageError("set", where + ": " + prepared.usageProblem, io.err);

    RegistryImage edited = file->image;
    const ModifyResult result = ModifyEntry(edited, file->index, found->node, prepared.request);
    if (result.kind == ModifyResult::Rejected) {
        ReportFileProblem(where, FieldName(result.field) + ": " + result.message, io.err);
        return kExitNegative;
    }
    if (result.kind == ModifyResult::Unchanged) {
        // Nothing to write: the file and its backup stay as they are. A copy named by -o is
        // still made, as merge makes it.
        ReportFileProblem(where, "nothing to change", io.err);
        if (args.has("--dry-run") || !args.has("-o")) return kExitOk;
    } else if (result.kind != ModifyResult::Modified) {
        ReportFileProblem(where, "Modify leaves this entry alone", io.err);
        return kExitNegative;
    }
    if (args.has("--dry-run")) {
        const EntryRef now = *file->index.nodes()[static_cast<size_t>(found->node)].entry;
        PrintChanges(file->image.bytes(), edited.bytes(), int64_t{now.offset} + format::kValueAt,
                     int64_t{now.offset} + format::kValueAt + now.size,
                     int64_t{now.size} - found->entry.size, io.out, io.err);
        return kExitOk;
    }
    return SaveEdited(*file, edit.target, edited.bytes(), args.has("--force"), edit.lock.lock.get(),
                      io.err);
}

}  // namespace thornbeck::cli
