#include "gui/dialogs/FileLayoutDialog.h"

#include <QDialogButtonBox>
#include <QFontDatabase>
#include <QHeaderView>
#include <QLabel>
#include <QPlainTextEdit>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "core/edit/EntryTexts.h"
#include "core/edit/ValueText.h"
#include "gui/text/Latin1Text.h"

namespace thornbeck {
namespace {

constexpr int kRegionRole = Qt::UserRole;     // the region's index, or -1
constexpr int kLooseRole = Qt::UserRole + 1;  // the loose value's index, or -1

QString Offset(int64_t offset) {
    return QString::fromStdString(OffsetText(offset));
}

}  // namespace

QString HexDump(int64_t offset, std::string_view bytes) {
    QString dump;
    for (size_t line = 0; line < bytes.size(); line += 16) {
        const std::string_view part = bytes.substr(line, 16);
        std::string shown;
        for (const char c : part) shown += PrintableOrDot(static_cast<uint8_t>(c));
        dump += Offset(offset + static_cast<int64_t>(line)) + QStringLiteral("  ") +
                QString::fromStdString(HexPairs(part)).leftJustified(47) + QStringLiteral("  ") +
                ToQString(shown) + '\n';
    }
    return dump;
}

FileLayoutDialog::FileLayoutDialog(const FileLayout& layout, ShowOffset showEntry, QWidget* parent)
    : QDialog(parent),
      layout(layout),
      showEntry(std::move(showEntry)),
      list(new QTreeWidget(this)),
      dump(new QPlainTextEdit(this)) {
    setObjectName(QStringLiteral("fileLayoutDialog"));
    setWindowTitle(tr("File Layout"));
    list->setObjectName(QStringLiteral("layoutRegions"));
    list->setAccessibleName(tr("Regions and loose values"));
    list->setRootIsDecorated(false);
    list->setHeaderLabels({tr("Offset"), tr("Length"), tr("Region"), tr("State")});
    for (size_t i = 0; i < layout.regions.size(); ++i) {
        const FileRegion& region = layout.regions[i];
        auto* item = new QTreeWidgetItem(
            list, {Offset(region.from), QString::number(region.length),
                   QString::fromStdString(region.name), QString::fromStdString(region.state)});
        item->setData(0, kRegionRole, static_cast<int>(i));
        item->setData(0, kLooseRole, -1);
    }
    for (size_t i = 0; i < layout.looseValues.size(); ++i) {
        const LooseValue& value = layout.looseValues[i];
        auto* item = new QTreeWidgetItem(
            list, {Offset(value.offset), QString::number(value.bytes.size()), tr("loose value"),
                   ToQString(EscapedControls(value.bytes, {.backslash = true, .c1 = true}))});
        item->setData(0, kRegionRole, -1);
        item->setData(0, kLooseRole, static_cast<int>(i));
    }
    list->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    dump->setObjectName(QStringLiteral("looseValueBytes"));
    dump->setAccessibleName(tr("Bytes of the loose value"));
    dump->setReadOnly(true);
    dump->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    dump->setPlaceholderText(tr("Choose a loose value to see its bytes."));

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* box = new QVBoxLayout(this);
    auto* note = new QLabel(tr("Loose values are runs of printable bytes after the end marker. "
                               "The program does not know what they mean and never edits them."),
                            this);
    note->setWordWrap(true);
    box->addWidget(list, 2);
    box->addWidget(note);
    box->addWidget(dump, 1);
    box->addWidget(buttons);
    connect(list, &QTreeWidget::currentItemChanged, this, &FileLayoutDialog::chosen);
    resize(760, 520);
}

void FileLayoutDialog::chosen() {
    const QTreeWidgetItem* item = list->currentItem();
    if (!item) return;
    const int loose = item->data(0, kLooseRole).toInt();
    if (loose >= 0) {
        const LooseValue& value = layout.looseValues[static_cast<size_t>(loose)];
        dump->setPlainText(HexDump(value.offset, value.bytes));
        return;
    }
    dump->clear();
    const int region = item->data(0, kRegionRole).toInt();
    if (region >= 0 && layout.regions[static_cast<size_t>(region)].name == "entries" &&
        layout.regions[static_cast<size_t>(region)].length > 0)
        showEntry(layout.regions[static_cast<size_t>(region)].from);
}

}  // namespace thornbeck
