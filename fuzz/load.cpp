// The load: scan and index any bytes, describe every entry, write the CSV of every row and the
// command line's report, and check that they agree with each other.
#include <cstddef>
#include <cstdint>
#include <sstream>

#include "Check.h"
#include "cli/ReportListing.h"
#include "core/report/RegistryReport.h"
#include "cli/RowListing.h"
#include "core/edit/EntryTexts.h"
#include "core/export/CsvExport.h"
#include "core/index/RegistryIndex.h"

using namespace thornbeck;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const RegistryImage image(std::vector<uint8_t>(data, data + size));
    const RegistryIndex index = IndexRegistry(image);
    // No file is refused for its keys: every entry has its node, within the budget.
    const auto& nodes = index.nodes();
    FUZZ_CHECK(static_cast<int64_t>(nodes.size()) <= index.nodeBudget());
    size_t entryNodes = 0;
    for (size_t n = 0; n < nodes.size(); ++n) {
        const TreeNode& node = nodes[n];
        FUZZ_CHECK(node.depth < RegistryIndex::kMaxDepth);
        if (node.parent >= 0) {
            const TreeNode& parent = nodes[static_cast<size_t>(node.parent)];
            FUZZ_CHECK(node.depth == parent.depth + 1);
            FUZZ_CHECK(node.key.substr(0, parent.key.size()) == parent.key);
        }
        FUZZ_CHECK(node.key.size() >= node.text().size());
        FUZZ_CHECK(node.key.substr(node.key.size() - node.text().size()) == node.text());
        if (!node.entry) continue;
        ++entryNodes;
        FUZZ_CHECK(index.findNode(node.key) == static_cast<int32_t>(n));
        const EntryDisplay description = DescribeEntry(image, *node.entry);
        FUZZ_CHECK(node.listRow >= 0);
        FUZZ_CHECK(index.rows()[static_cast<size_t>(node.listRow)].node == static_cast<int32_t>(n));
        (void)description;
    }
    FUZZ_CHECK(entryNodes == index.rows().size());

    std::vector<int32_t> order(index.rows().size());
    for (size_t i = 0; i < order.size(); ++i) order[i] = static_cast<int32_t>(i);
    const std::string csv = CsvOfRows(image, index, order);
    std::string streamed;
    FUZZ_CHECK(CsvInChunks(image, index, LoadOrderOf(index), [&streamed](std::string_view chunk) {
        streamed += chunk;
        return true;
    }));
    FUZZ_CHECK(csv == streamed);
    size_t quotes = 0;  // counted through find, which is not instrumented byte by byte
    for (size_t at = csv.find('"'); at != std::string::npos; at = csv.find('"', at + 1)) ++quotes;
    FUZZ_CHECK(quotes % 2 == 0 && quotes >= index.rows().size() * 18);

    const RegistryReport report = InspectRegistry(image, index);
    FUZZ_CHECK(report.entries == index.entryCount());
    FUZZ_CHECK(report.endMarker == index.dataAreaEnd().endMarker);
    std::ostringstream printed;
    cli::PrintReport("fuzz.sys", report, printed);
    FUZZ_CHECK(!printed.str().empty());
    return 0;
}
