#include "cli/ReportListing.h"

#include "cli/EscapedText.h"
#include "core/edit/EntryTexts.h"

namespace thornbeck::cli {

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
    for (const auto& problem : report.problems) out << "problem: " << problem.text << '\n';
    for (const auto& note : report.notes) out << "note: " << note.text << '\n';
}

void PrintLayout(const FileLayout& layout, std::ostream& out) {
    for (const FileRegion& region : layout.regions) {
        out << "region: " << OffsetText(region.from) << ' ' << region.length << " bytes "
            << region.name;
        if (!region.state.empty()) out << ": " << region.state;
        out << '\n';
    }
    for (const LooseValue& value : layout.looseValues)
        out << "loose value: " << OffsetText(value.offset) << ' ' << VisibleText(value.bytes)
            << '\n';
}

}  // namespace thornbeck::cli
