#include "cli/RegistryReport.h"

#include <string_view>
#include <unordered_map>

#include "cli/EscapedText.h"
#include "cli/LoadedRegistry.h"
#include "core/format/EntryScanner.h"
#include "core/format/RegistryFormat.h"
#include "core/index/KeyNameStore.h"
#include "core/index/RecordNodes.h"
#include "core/index/RegistryIndex.h"

namespace thornbeck::cli {

using namespace format;

namespace {

// A damaged length can make a name of 64 KiB; a message shows its start.
constexpr size_t kShownNameLength = 120;

std::string EntryName(std::string_view name) {
    if (name.empty()) return "(no name)";
    std::string shown = VisibleText(name.substr(0, kShownNameLength));
    if (name.size() > kShownNameLength) shown += "... (" + std::to_string(name.size()) + " bytes)";
    return shown;
}

std::string EntryLabel(const EntryRef& entry, std::string_view name) {
    return "entry at " + OffsetText(entry.offset) + " " + EntryName(name);
}

std::string Span(int64_t length, int64_t from) {
    return std::to_string(length) + " bytes from " + OffsetText(from);
}

// Every field of the entry the window reads, against the image's bounds.
void CheckEntry(const RegistryImage& image, const EntryRef& entry, std::string_view name,
                std::vector<std::string>& problems) {
    const auto problem = [&](const std::string& what) {
        problems.push_back(EntryLabel(entry, name) + ": " + what +
                           " reaches past the image's end at " + OffsetText(image.size()));
    };
    const int64_t e = entry.offset;
    const int64_t k = entry.keyOffset;
    if (!image.contains(e, kValueAt)) problem("its header");
    if (!image.contains(k, kNameAt)) {
        problem("its key record (key offset " + OffsetText(k - kKeyOffsetBias) + ", at " +
                OffsetText(k) + ")");
    } else {
        const int64_t length = image.readNumber(k + kNameLengthAt, 2);
        if (!image.contains(k + kNameAt, length))
            problem("its key name (" + Span(length, k + kNameAt) + ")");
    }
    if (!image.contains(e + kValueAt, entry.size))
        problem("its value (" + Span(entry.size, e + kValueAt) + ")");
}

}  // namespace

RegistryReport InspectRegistry(const RegistryImage& image) {
    RegistryReport report;
    report.size = image.size();
    EntryScanner scanner(image);
    if (!scanner.isRegistryFile()) {
        report.refused = true;
        report.problems.push_back("refused: " + TooShortReason(image.size()));
        return report;
    }
    report.dataAreaMarker = scanner.hasDataAreaMarker();
    report.headerRecord = scanner.hasHeaderRecord();

    // The names as the loader sees them, so repeats are found by the same rule the views use.
    struct Named {
        int32_t first, last;
        int64_t count;
    };
    const KeyNameStore names(image);
    std::unordered_map<std::string_view, Named> byName;
    std::vector<std::string_view> repeated;  // in the order of their second entry
    while (const auto entry = scanner.next()) {
        ++report.entries;
        const std::string_view name = names.nameAt(entry->keyOffset);
        CheckEntry(image, *entry, name, report.problems);
        const auto [it, isNew] = byName.emplace(name, Named{entry->offset, entry->offset, 1});
        if (isNew) continue;
        it->second.last = entry->offset;
        if (++it->second.count == 2) repeated.push_back(name);
    }
    for (const std::string_view name : repeated) {
        const Named& named = byName.at(name);
        report.notes.push_back(EntryName(name) + ": " + std::to_string(named.count) +
                               " entries have this name, the first at " + OffsetText(named.first) +
                               ", the last at " + OffsetText(named.last) +
                               "; get, set and diff use the last, list and export-csv the first");
    }
    report.endMarker = scanner.endMarkerOffset();
    // The index gives a list row to each name's first entry, so the distinct names are its rows.
    report.distinctKeys = static_cast<int64_t>(byName.size());
    // The tree of a hostile file may not show every key path whole; the window says the same.
    if (const int64_t shortened = IndexRegistry(image).entriesShortened(); shortened > 0)
        report.notes.push_back(ShortenedPathsNote(shortened));

    if (!report.dataAreaMarker) {
        report.notes.push_back("no data-area marker at " + OffsetText(kMarkerOffset) +
                               ": the file has no entries");
    } else {
        if (!report.headerRecord)
            report.notes.push_back("no header record: the first entry starts at " +
                                   OffsetText(kDataAreaStart));
        if (!report.endMarker)
            report.notes.push_back("no end marker: the entries run up to the image's last bytes");
    }
    return report;
}

void PrintReport(std::string_view file, const RegistryReport& report, std::ostream& out) {
    const auto line = [&](std::string_view label, std::string_view value) {
        out << label << std::string(18 - label.size(), ' ') << value << '\n';
    };
    line("file:", file);
    line("size:", std::to_string(report.size) + " bytes");
    if (!report.refused) {
        line("data-area marker:", report.dataAreaMarker ? "present" : "missing");
        line("header record:", report.headerRecord ? "present" : "missing");
        line("entries:", std::to_string(report.entries));
        line("distinct keys:", std::to_string(report.distinctKeys));
        line("end marker:", report.endMarker ? "at " + OffsetText(*report.endMarker) : "none");
    }
    line("problems:", report.problems.empty() ? "none" : std::to_string(report.problems.size()));
    for (const std::string& problem : report.problems) out << "problem: " << problem << '\n';
    for (const std::string& note : report.notes) out << "note: " << note << '\n';
}

}  // namespace thornbeck::cli
