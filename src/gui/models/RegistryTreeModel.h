#pragma once

#include <QAbstractItemModel>
#include <QIcon>
#include <span>

#include "core/index/RegistryIndex.h"

namespace thornbeck {

// The key tree over a RegistryIndex: one item per node, the node's number as internal id.
class RegistryTreeModel : public QAbstractItemModel {
    Q_OBJECT
public:
    // The item views lay out expanded levels recursively, so a hostile key of tens of thousands
    // of levels would exhaust the stack; the index creates no node below this depth (the list
    // still shows every entry with its full key).
    static constexpr int32_t kMaxShownDepth = RegistryIndex::kMaxDepth;

    explicit RegistryTreeModel(QObject* parent = nullptr);

    // Shows another index (or none); the index must outlive its use here.
    void setRegistryIndex(const RegistryIndex* index);

    QModelIndex indexOfNode(int32_t node) const;
    // -1 for an invalid index.
    int32_t nodeOf(const QModelIndex& index) const;
    const TreeNode* treeNode(const QModelIndex& index) const;
    // The nodes that have children, the top level first and then each level in turn, at most
    // `most` of them: what a view expands when expanding everything would cost more than the
    // file's budget allows.
    QModelIndexList levelsFirst(int64_t most) const;

    QModelIndex index(int row, int column, const QModelIndex& parent = {}) const override;
    QModelIndex parent(const QModelIndex& child) const override;
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    // A node without children says so, so that expanding the whole tree keeps no expanded state
    // (a persistent index) for each of its leaves.
    Qt::ItemFlags flags(const QModelIndex& index) const override;

private:
    std::span<const int32_t> childrenOf(const QModelIndex& parent) const;

    const RegistryIndex* registry = nullptr;
    QIcon nodeIcon;
    QIcon entryIcon;
};

// The tooltip of a key that `entries` entries share: which of them the tree and the list show.
QString SharedKeyNote(int32_t entries);

}  // namespace thornbeck
