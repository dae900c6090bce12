// Opening a file into the window against inserting the same tree nodes and list rows into bare Qt
// item views, offscreen.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QStandardItemModel>
#include <QTreeView>
#include <filesystem>
#include <fstream>

#include "RatioReporter.h"
#include "WorstCaseImage.h"
#include "core/edit/EntryTexts.h"
#include "core/index/RegistryIndex.h"
#include "gui/window/MainWindow.h"

namespace thornbeck::bench {
namespace {

constexpr int kKeys = 2500;  // about as many as the key area holds with names of this length

const std::filesystem::path& FilePath() {
    static const std::filesystem::path path = [] {
        auto file = std::filesystem::temp_directory_path() / "thornbeck-bench-open.sys";
        const auto bytes = ManyKeysImage(kKeys);
        std::ofstream(file, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()),
                   static_cast<std::streamsize>(bytes.size()));
        return file;
    }();
    return path;
}

void BM_BareViewsBaseline(benchmark::State& state) {
    std::ifstream in(FilePath(), std::ios::binary);
    const RegistryImage image(
        {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()});
    const RegistryIndex index = IndexRegistry(image);
    std::vector<FieldTexts> rowTexts;
    for (const ListRow& row : index.rows())
        rowTexts.push_back(DescribeEntry(image, row.entry).texts);
    QTreeView tree, list;
    tree.show();
    list.show();
    for (auto _ : state) {
        auto* treeModel = new QStandardItemModel(&tree);
        std::vector<QStandardItem*> items;
        items.reserve(index.nodes().size());
        for (const TreeNode& node : index.nodes()) {
            auto* item =
                new QStandardItem(QString::fromLatin1(node.text().data(), node.text().size()));
            (node.parent < 0 ? treeModel->invisibleRootItem() : items[node.parent])
                ->appendRow(item);
            items.push_back(item);
        }
        auto* listModel = new QStandardItemModel(0, 9, &list);
        for (size_t r = 0; r < index.rows().size(); ++r) {
            const std::string_view key = index.keyOf(index.rows()[r]);
            QList<QStandardItem*> cells{
                new QStandardItem(QString::fromLatin1(key.data(), key.size()))};
            for (const std::string& text : rowTexts[r])
                cells << new QStandardItem(QString::fromLatin1(text));
            listModel->appendRow(cells);
        }
        tree.setModel(treeModel);
        list.setModel(listModel);
        tree.expandAll();
        QCoreApplication::processEvents();
        state.PauseTiming();
        tree.setModel(nullptr);
        list.setModel(nullptr);
        delete treeModel;
        delete listModel;
        state.ResumeTiming();
    }
}

void BM_OpenRegistryFile(benchmark::State& state) {
    MainWindow window;
    window.show();
    const QString path = QString::fromStdString(FilePath().string());
    for (auto _ : state) {
        window.openFile(path);
        QCoreApplication::processEvents();
    }
    state.counters["rows"] = window.document().index().rows().size();
}

BENCHMARK(BM_BareViewsBaseline)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OpenRegistryFile)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace thornbeck::bench

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    thornbeck::bench::RatioReporter reporter(
        {{"BM_OpenRegistryFile", "BM_BareViewsBaseline", 1.5}});
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    std::filesystem::remove(thornbeck::bench::FilePath());
    return reporter.summarize() ? 0 : 1;
}
