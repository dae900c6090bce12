#pragma once

#include <QDialog>
#include <functional>

#include "core/report/FileLayout.h"

class QPlainTextEdit;
class QTreeWidget;

namespace thornbeck {

// View > File Layout: the file's regions, each with its first offset, length and state, and the
// loose values of the tail. Choosing the entries region shows the first entry; choosing a loose
// value shows its bytes in a read-only hex dump.
class FileLayoutDialog : public QDialog {
    Q_OBJECT
public:
    using ShowOffset = std::function<void(int64_t entryOffset)>;
    FileLayoutDialog(const FileLayout& layout, ShowOffset showEntry, QWidget* parent = nullptr);

    QTreeWidget* regions() const { return list; }
    QPlainTextEdit* bytes() const { return dump; }

private:
    void chosen();

    FileLayout layout;
    ShowOffset showEntry;
    QTreeWidget* list;
    QPlainTextEdit* dump;
};

// Bytes as a hex dump: 16 per line, the offset of the first, the hex pairs and the printable
// characters ("." for the others).
QString HexDump(int64_t offset, std::string_view bytes);

}  // namespace thornbeck
