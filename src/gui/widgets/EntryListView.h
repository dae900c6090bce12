#pragma once

#include <QTreeView>

namespace thornbeck {

class RegistryListModel;

// The list of entries: one row per list row with the columns of RegistryListModel, Header ID
// shown between Flags and the offsets, Key and Value sharing the room the number columns leave.
class EntryListView : public QTreeView {
    Q_OBJECT
public:
    explicit EntryListView(RegistryListModel* model, QWidget* parent = nullptr);

    // The number columns fit their contents, once, for the first file that has entries; the user
    // may widen them afterwards.
    void fitNumberColumnsOnce();

private:
    bool numberColumnsFitted = false;
};

}  // namespace thornbeck
