// The commands that only read: info, list, export-csv, get, find.
#include "cli/Commands.h"
#include "cli/EscapedText.h"
#include "cli/ExitCode.h"
#include "cli/FindKeys.h"
#include "cli/LoadedRegistry.h"
#include "cli/ReportListing.h"
#include "cli/RowListing.h"
#include "core/edit/EntryTexts.h"
#include "core/edit/ModifyEntry.h"
#include "core/edit/ValueText.h"
#include "core/export/CsvExport.h"
#include "core/fileio/SystemText.h"

namespace thornbeck::cli {

int RunInfo(const Arguments& args, const Streams& io) {
    // Opened as every command opens a file: one too short to be a registry file is refused.
    const auto file = LoadRegistry(args.operands[0], io.err);
    if (!file) return kExitError;
    const RegistryReport report = InspectRegistry(file->image, file->index);
    PrintReport(file->name, report, io.out);
    if (args.has("--layout")) PrintLayout(DescribeLayout(file->image), io.out);
    return report.sound() ? kExitOk : kExitNegative;
}

int RunList(const Arguments& args, const Streams& io) {
    const std::string formatName = args.value("--format").value_or("tsv");
    const auto format = ListFormatNamed(formatName);
    if (!format)
        return UsageError("list", "--format " + ArgumentText(formatName) + ": not tsv, csv or json",
                          io.err);
    const auto file = LoadRegistry(args.operands[0], io.err);
    if (!file) return kExitError;
    WriteRows(file->image, file->index, *format, io.out);
    return kExitOk;
}

int RunExportCsv(const Arguments& args, const Streams& io) {
    const auto file = LoadRegistry(args.operands[0], io.err);
    if (!file) return kExitError;
    // The window's Export with the list in the order of the file.
    if (const auto failure = ExportCsvFile(PathOfArgument(args.operands[1]), file->image,
                                           file->index, LoadOrderOf(file->index))) {
        ReportFileProblem(PathText(failure->path), "cannot write: " + failure->reason, io.err);
        return kExitError;
    }
    return kExitOk;
}

int RunGet(const Arguments& args, const Streams& io) {
    const auto file = LoadRegistry(args.operands[0], io.err);
    if (!file) return kExitError;
    const std::string& key = args.operands[1];
    const auto found = RequireEntry(*file, key, io.err);
    if (!found) return kExitNegative;
    const FieldTexts texts = DescribeEntry(file->image, found->entry).texts;
    const bool hex = args.has("--hex") && texts[kDataTypeField] != "Integer";
    for (int i = 0; i < kDetailFieldCount; ++i) {
        const std::string& text = texts[static_cast<size_t>(i)];
        io.out << FieldName(static_cast<DetailField>(i)) << ": "
               << (hex && i == kValueField ? HexPairs(text) : VisibleText(text)) << '\n';
    }
    return kExitOk;
}

int RunFind(const Arguments& args, const Streams& io) {
    const auto file = LoadRegistry(args.operands[0], io.err);
    if (!file) return kExitError;
    const std::string& text = args.operands[1];
    const bool values = args.has("--values");
    const std::string nothing = values ? "no key or value matches " : "no key matches ";
    // The text is terminal text, one byte per character; a character no byte holds is refused
    // as the window's fields refuse it, and could match nothing anyway.
    const auto pattern = BytesOfArgument(text);
    if (!pattern) {
        ReportFileProblem(file->name,
                          "find text \"" + ArgumentText(text) + "\": " + kInvalidValue +
                              ": it holds a character no byte holds (only U+0000 to U+00FF)",
                          io.err);
        return kExitNegative;
    }
    const auto keys = FindKeys(file->image, file->index, *pattern, values);
    for (const std::string_view key : keys) io.out << VisibleText(key) << '\n';
    if (keys.empty())
        ReportFileProblem(file->name, nothing + "\"" + ArgumentText(text) + "\"", io.err);
    return keys.empty() ? kExitNegative : kExitOk;
}

}  // namespace thornbeck::cli
