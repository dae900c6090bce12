// apply: a tweak's lines written into a file, whole or not at all, then Save.
#include "cli/Commands.h"
#include "cli/EditedSave.h"
#include "cli/ExitCode.h"
#include "cli/LoadedRegistry.h"
#include "core/compare/EntryCompare.h"
#include "core/fileio/SystemText.h"
#include "core/tweak/TweakApply.h"
#include "core/tweak/TweakParser.h"
#include "core/tweak/TweakText.h"

namespace thornbeck::cli {
namespace {

std::string StatusText(const TweakLineCheck& check, bool written) {
    switch (check.status) {
        case TweakStatus::WillChange:
            return written ? "changed" : "will change";
        case TweakStatus::AlreadySo:
            return "already so";
        case TweakStatus::Differs:
            return written ? "changed over a differing text"
                           : "differs from what the tweak expected";
        case TweakStatus::NoSuchKey:
            return "no such key";
        case TweakStatus::TypeDiffers:
            return "Data Type differs";
        case TweakStatus::Refused:
            return "refused: " + check.reason;
    }
    return {};
}

// The tweak file read and parsed; on failure the problem is reported and nothing is given.
std::optional<Tweak> ReadTweak(std::string_view name, std::ostream& err) {
    const FileRead read = ReadInputFile(PathOfArgument(name));
    if (!read.failure.empty()) {
        ReportFileProblem(name, read.failure, err);
        return std::nullopt;
    }
    const std::string_view text(reinterpret_cast<const char*>(read.bytes.data()),
                                read.bytes.size());
    auto parsed = ParseTweak(text);
    if (const auto* error = std::get_if<TweakFileError>(&parsed)) {
        ReportFileProblem(std::string(name) + ":" + std::to_string(error->line),
                          "not a tweak: " + error->message, err);
        return std::nullopt;
    }
    return std::get<Tweak>(std::move(parsed));
}

}  // namespace

int RunApply(const Arguments& args, const Streams& io) {
    const auto tweak = ReadTweak(args.operands[1], io.err);
    if (!tweak) return kExitError;
    LockedEdit edit = LockAndLoad("apply", args, io.err);
    if (!edit.file) return edit.exitCode;
    auto& file = *edit.file;
    const bool overwrite = args.has("--overwrite");
    const bool partial = args.has("--partial");
    const bool dryRun = args.has("--dry-run");

    // One pass over a copy: it is saved only when the tweak applies as the options allow.
    RegistryImage edited = file.image;
    const TweakOutcome outcome = ApplyTweak(
        edited, file.index, *tweak, overwrite ? TweakChoice::Overwriting : TweakChoice::Changing);

    bool conflict = false;
    for (size_t i = 0; i < outcome.lines.size(); ++i) {
        const TweakStatus status = outcome.lines[i].status;
        conflict |= IsConflict(status) && !(status == TweakStatus::Differs && overwrite);
    }
    const bool writes = !conflict || partial;
    for (size_t i = 0; i < outcome.lines.size(); ++i) {
        const TweakLine& line = tweak->lines[i];
        const TweakLineCheck& check = outcome.lines[i];
        const bool chosen = check.status == TweakStatus::WillChange ||
                            (overwrite && check.status == TweakStatus::Differs);
        const bool written = writes && !dryRun && chosen;
        io.out << TweakTextOf(line.key) << '\t' << FieldName(line.field) << '\t'
               << StatusText(check, written) << '\n';
    }
    if (!writes) {
        ReportFileProblem(file.name,
                          "the tweak does not apply whole; nothing written (--partial applies "
                          "what it can, --overwrite writes over differing texts)",
                          io.err);
        return kExitNegative;
    }
    const int code = conflict ? kExitNegative : kExitOk;
    // Nothing changed leaves the file and its backup alone; a new output file is still written.
    if (outcome.changes.empty() && !args.has("-o")) {
        ReportFileProblem(file.name, "nothing to change", io.err);
        return code;
    }
    if (dryRun) return code;
    if (const int saved = SaveEdited(file, edit.target, edited.bytes(), args.has("--force"),
                                     edit.lock.lock.get(), io.err);
        saved != kExitOk)
        return saved;
    return code;
}

}  // namespace thornbeck::cli
