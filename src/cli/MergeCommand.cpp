// merge: the differing fields of B taken into A, entry by entry as Modify writes them, then Save.
#include <unordered_map>

#include "cli/Commands.h"
#include "cli/EditedSave.h"
#include "cli/EscapedText.h"
#include "cli/ExitCode.h"
#include "cli/LoadedRegistry.h"
#include "core/compare/EntryCompare.h"
#include "core/edit/TakeFields.h"
#include "core/find/KeySearch.h"

namespace thornbeck::cli {
namespace {

bool Taken(DetailField field, unsigned fields) {
    return (TakeFlagOf(field) & fields) != 0;
}

// The keys in both files that match the pattern and differ in a field the merge takes.
std::vector<std::string_view> KeysToTake(const std::vector<KeyDifference>& differences,
                                         std::string_view pattern, unsigned fields) {
    KeySearch search(pattern);
    std::vector<std::string_view> keys;
    for (const KeyDifference& difference : differences) {
        if (difference.kind != KeyDifference::Changed || !search.matches(difference.key)) continue;
        for (const FieldChange& change : difference.changes)
            if (Taken(change.field, fields)) {
                keys.push_back(difference.key);
                break;
            }
    }
    return keys;
}

// "KEY<tab>FIELD<tab>text in A<tab>text in B" for every field taken: of each key written, the
// fields it was given (a refused Integer Data Size is not among them).
void PrintTaken(const std::vector<KeyDifference>& differences, const TakeOutcome& outcome,
                std::ostream& out) {
    std::unordered_map<std::string_view, unsigned> written;
    for (size_t i = 0; i < outcome.taken.size(); ++i)
        written[outcome.taken[i]] = outcome.takenFields[i];
    for (const KeyDifference& difference : differences) {
        const auto found = written.find(difference.key);
        if (found == written.end()) continue;
        for (const FieldChange& change : difference.changes)
            if (Taken(change.field, found->second))
                out << VisibleText(difference.key) << '\t' << FieldName(change.field) << '\t'
                    << VisibleText(change.before) << '\t' << VisibleText(change.after) << '\n';
    }
}

}  // namespace

int RunMerge(const Arguments& args, const Streams& io) {
    unsigned fields = kTakeAll;
    if (const auto names = args.value("--fields")) {
        const auto named = TakenFieldsNamed(*names);
        if (!named)
            return UsageError("merge",
                              "--fields takes a comma-separated list of value, checksum, flags, "
                              "header-id",
                              io.err);
        fields = *named;
    }
    // Terminal text, one byte per character, as find reads its text.
    const auto pattern = BytesOfArgument(args.value("--keys").value_or("*"));
    if (!pattern) return UsageError("merge", "--keys holds a character no byte holds", io.err);
    LockedEdit edit = LockAndLoad("merge", args, io.err);
    if (!edit.file) return edit.exitCode;
    auto& a = edit.file;
    const auto b = LoadRegistry(args.operands[1], io.err);
    if (!b) return kExitError;

    const auto differences = DiffEntries(a->image, a->index, b->image, b->index, false);
    const auto keys = KeysToTake(differences, *pattern, fields);
    RegistryImage edited = a->image;
    const TakeOutcome outcome = TakeOtherFields(edited, a->index, b->image, b->index, keys, fields);
    PrintTaken(differences, outcome, io.out);
    for (const TakeRefusal& refusal : outcome.refused)
        ReportFileProblem(a->name + ": " + VisibleText(refusal.key), refusal.reason, io.err);
    const int code = outcome.refused.empty() ? kExitOk : kExitNegative;
    if (args.has("--dry-run")) return code;
    // Nothing taken leaves the file (and its backup) alone; a new output file is still written.
    if (outcome.changes.empty() && !args.has("-o")) return code;
    if (const int saved = SaveEdited(*a, edit.target, edited.bytes(), args.has("--force"),
                                     edit.lock.lock.get(), io.err);
        saved != kExitOk)
        return saved;
    io.out.flush();
    if (!io.out) {
        ReportFileProblem(edit.target,
                          "saved, but the list of the fields taken could not be written", io.err);
        return kExitSavedOutputLost;
    }
    return code;
}

}  // namespace thornbeck::cli
