#include "core/report/RegistryReport.h"

#include <functional>
#include <string_view>
#include <unordered_map>

#include "core/edit/EntryTexts.h"
#include "core/edit/ValueText.h"
#include "core/format/EntryScanner.h"
#include "core/format/RegistryFormat.h"
#include "core/index/KeyNameStore.h"
#include "core/load/RegistryFile.h"

namespace thornbeck {

using namespace format;

namespace {

// A damaged length can make a name of 64 KiB; a message shows its start.
constexpr size_t kShownNameLength = 120;
// Every key record a stored key offset can name.
constexpr size_t kKeyRecords = 0x10000;

std::string EntryName(std::string_view name) {
    if (name.empty()) return "(no name)";
    std::string shown = VisibleUtf8(name.substr(0, kShownNameLength));
    if (name.size() > kShownNameLength) shown += "... (" + std::to_string(name.size()) + " bytes)";
    return shown;
}

std::string EntryLabel(const EntryRef& entry, std::string_view name) {
    return "entry at " + OffsetText(entry.offset) + " " + EntryName(name);
}

std::string Span(int64_t length, int64_t from) {
    return std::to_string(length) + " bytes from " + OffsetText(from);
}

// Every field of the entry the window reads, against the image's bounds. The entry's name is
// read only for a problem's text.
void CheckEntry(const RegistryImage& image, const EntryRef& entry,
                const std::function<std::string_view()>& name,
                std::vector<RegistryReport::Finding>& problems) {
    const auto problem = [&](const std::string& what) {
        problems.push_back({EntryLabel(entry, name()) + ": " + what +
                                " reaches past the image's end at " + OffsetText(image.size()),
                            entry.offset});
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

// How many entries use each key record, by its stored key offset.
using RecordUses = std::vector<int64_t>;

// The notes of names that several entries share, in list order: how many, the first (the list
// row's) and the last (the tree's). Entries count by key record, and the records' names are
// looked up once each, so the walk itself never hashes a name.
void NoteRepeats(const RegistryImage& image, const RegistryIndex& index, const RecordUses& uses,
                 std::vector<RegistryReport::Finding>& notes) {
    std::vector<const ListRow*> repeated;
    for (const ListRow& row : index.rows()) {
        const auto& last = index.nodes()[static_cast<size_t>(row.node)].entry;
        if (last && last->offset != row.entry.offset) repeated.push_back(&row);
    }
    if (repeated.empty()) return;
    std::unordered_map<std::string_view, int64_t> count;
    for (const ListRow* row : repeated) count.emplace(index.keyOf(*row), 0);
    const KeyNameStore names(image);
    for (size_t record = 0; record < uses.size(); ++record) {
        if (uses[record] == 0) continue;
        const auto it = count.find(names.nameAt(static_cast<int32_t>(record) + kKeyOffsetBias));
        if (it != count.end()) it->second += uses[record];
    }
    for (const ListRow* row : repeated) {
        const std::string_view name = index.keyOf(*row);
        const int32_t last = index.nodes()[static_cast<size_t>(row->node)].entry->offset;
        notes.push_back({EntryName(name) + ": " + std::to_string(count.at(name)) +
                             " entries have this name, the first at " +
                             OffsetText(row->entry.offset) + ", the last at " + OffsetText(last) +
                             "; get, set and diff use the last, list and export-csv the first",
                         row->entry.offset});
    }
}

}  // namespace

RegistryReport InspectRegistry(const RegistryImage& image, const RegistryIndex& index) {
    RegistryReport report;
    report.size = image.size();
    EntryScanner scanner(image);
    if (!scanner.isRegistryFile()) {
        report.refused = true;
        report.problems.push_back({"refused: " + TooShortReason(image.size()), std::nullopt});
        return report;
    }
    report.dataAreaMarker = scanner.hasDataAreaMarker();
    report.headerRecord = scanner.hasHeaderRecord();
    RecordUses uses(kKeyRecords, 0);
    std::optional<KeyNameStore> names;  // only for an entry with a problem
    while (const auto entry = scanner.next()) {
        ++report.entries;
        const int64_t record = int64_t{entry->keyOffset} - kKeyOffsetBias;
        if (record >= 0 && record < static_cast<int64_t>(uses.size()))
            ++uses[static_cast<size_t>(record)];
        CheckEntry(
            image, *entry,
            [&] {
                if (!names) names.emplace(image);
                return names->nameAt(entry->keyOffset);
            },
            report.problems);
    }
    report.endMarker = scanner.endMarkerOffset();
    report.distinctKeys = static_cast<int64_t>(index.rows().size());
    NoteRepeats(image, index, uses, report.notes);
    // The tree of a hostile file may not show every key path whole; the window says the same.
    if (const int64_t shortened = index.entriesShortened(); shortened > 0)
        report.notes.push_back({ShortenedPathsNote(shortened), std::nullopt});

    if (!report.dataAreaMarker) {
        report.problems.push_back(
            {"no data-area marker at " + OffsetText(kMarkerOffset) + ": the file has no entries",
             std::nullopt});
        return report;
    }
    if (report.entries == 0)
        report.problems.push_back({"no entries: the data area ends at once", std::nullopt});
    if (!report.headerRecord)
        report.notes.push_back(
            {"no header record: the first entry starts at " + OffsetText(kDataAreaStart),
             std::nullopt});
    if (!report.endMarker)
        report.notes.push_back(
            {"no end marker: the entries run up to the image's last bytes", std::nullopt});
    return report;
}

}  // namespace thornbeck
