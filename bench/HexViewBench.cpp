// Showing a 65,535-byte value in the details panel's hex view, against a QTableView over a plain
// model with the same number of rows and columns.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QHeaderView>
#include <QTableView>
#include <random>

#include "RatioReporter.h"
#include "gui/models/ValueHexModel.h"

namespace thornbeck::bench {
namespace {

constexpr int kValueSize = 65535;
constexpr int kRows = (kValueSize + 15) / 16;

// The baseline: fixed short texts in as many cells.
class PlainModel : public QAbstractTableModel {
public:
    int rows = kRows;
    int rowCount(const QModelIndex& parent = {}) const override {
        return parent.isValid() ? 0 : rows;
    }
    int columnCount(const QModelIndex& parent = {}) const override {
        return parent.isValid() ? 0 : 17;
    }
    QVariant data(const QModelIndex& index, int role) const override {
        if (role != Qt::DisplayRole) return {};
        return index.column() == 16 ? QStringLiteral("0123456789ABCDEF") : QStringLiteral("A5");
    }
    void reset() {
        beginResetModel();
        endResetModel();
    }
};

void Configure(QTableView& view) {
    view.resize(433, 200);
    view.verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    view.verticalHeader()->setDefaultSectionSize(16);
    view.horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    view.horizontalHeader()->setDefaultSectionSize(19);
    view.show();
}

std::string Value(uint32_t seed) {
    std::mt19937 random(seed);
    std::string bytes(kValueSize, '\0');
    for (char& c : bytes) c = static_cast<char>(random());
    return bytes;
}

void BM_PlainTableBaseline(benchmark::State& state) {
    PlainModel model;
    QTableView view;
    view.setModel(&model);
    Configure(view);
    for (auto _ : state) {
        model.rows = model.rows == kRows ? kRows - 1 : kRows;  // a new value each time
        model.reset();
        benchmark::DoNotOptimize(view.grab());
    }
}

void BM_HexViewShowsAValue(benchmark::State& state) {
    ValueHexModel model;
    QTableView view;
    view.setModel(&model);
    Configure(view);
    const std::string values[2] = {Value(1), Value(2).substr(0, kValueSize - 16)};
    int next = 0;
    for (auto _ : state) {
        model.setBytes(values[next]);
        next ^= 1;
        benchmark::DoNotOptimize(view.grab());
    }
}

BENCHMARK(BM_PlainTableBaseline)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_HexViewShowsAValue)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace thornbeck::bench

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    thornbeck::bench::RatioReporter reporter(
        {{"BM_HexViewShowsAValue", "BM_PlainTableBaseline", 1.5}});
    benchmark::RunSpecifiedBenchmarks(&reporter);
    return reporter.summarize() ? 0 : 1;
}
