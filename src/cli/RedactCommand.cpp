// redact: a copy of a file that is safe to share, its tail cleared and personal values masked.
#include "cli/Commands.h"
#include "cli/ExitCode.h"
#include "cli/LoadedRegistry.h"
#include "core/fileio/SaveRegistry.h"
#include "core/fileio/SystemText.h"
#include "core/find/KeySearch.h"
#include "core/report/SharedCopy.h"

namespace thornbeck::cli {
namespace {

// The list rows to mask: those proposed, those --mask matches, less those --keep matches.
std::vector<int32_t> RowsToMask(const RegistryIndex& index, const Arguments& args) {
    const auto mask = args.value("--mask");
    const auto keep = args.value("--keep");
    std::optional<KeySearch> more = mask ? std::optional<KeySearch>(*mask) : std::nullopt;
    std::optional<KeySearch> kept = keep ? std::optional<KeySearch>(*keep) : std::nullopt;
    std::vector<int32_t> rows;
    for (size_t row = 0; row < index.rows().size(); ++row) {
        const std::string_view key = index.keyOf(index.rows()[row]);
        const bool masked = SuggestsPersonalData(key) || (more && more->matches(key));
        if (masked && !(kept && kept->matches(key))) rows.push_back(static_cast<int32_t>(row));
    }
    return rows;
}

}  // namespace

int RunRedact(const Arguments& args, const Streams& io) {
    const std::string& out = args.operands[1];
    if (SameFile(PathOfArgument(args.operands[0]), PathOfArgument(out)))
        return UsageError("redact", "OUT is FILE itself; a shared copy never replaces the original",
                          io.err);
    const auto file = LoadRegistry(args.operands[0], io.err);
    if (!file) return kExitError;
    const SharedCopy copy = MakeSharedCopy(file->image, file->index, RowsToMask(file->index, args));
    if (args.has("--dry-run")) {
        io.out << SharedCopyReport(copy);
        return kExitOk;
    }
    // A new file, not the original: nothing it replaces is the file the bytes came from.
    const SaveResult saved =
        SaveRegistry({.path = PathOfArgument(out), .bytes = copy.bytes, .origin = {}},
                     [](DiskChange) { return true; });
    if (saved.kind != SaveResult::Saved) {
        ReportFileProblem(saved.problemPath.empty() ? out : PathText(saved.problemPath),
                          "cannot save: " + saved.reason, io.err);
        return kExitError;
    }
    io.out << SharedCopyReport(copy);
    return kExitOk;
}

}  // namespace thornbeck::cli
