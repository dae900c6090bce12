#include "window/RegistryTreeModel.h"

#include <QApplication>
#include <QStyle>

#include "window/DisplayText.h"

namespace thornbeck {

RegistryTreeModel::RegistryTreeModel(QObject* parent) : QAbstractItemModel(parent) {
    // A node shows a closed folder, and an open one while it is selected.
    const QStyle* style = QApplication::style();
    nodeIcon.addPixmap(style->standardIcon(QStyle::SP_DirClosedIcon).pixmap(16), QIcon::Normal);
    nodeIcon.addPixmap(style->standardIcon(QStyle::SP_DirOpenIcon).pixmap(16), QIcon::Selected);
}

void RegistryTreeModel::setRegistryIndex(const RegistryIndex* index) {
    beginResetModel();
    registry = index;
    endResetModel();
}

QModelIndex RegistryTreeModel::indexOfNode(int32_t node) const {
    if (!registry || node < 0 || node >= static_cast<int32_t>(registry->nodes().size())) return {};
    if (registry->nodes()[static_cast<size_t>(node)].depth >= kMaxShownDepth) return {};
    return createIndex(registry->nodes()[static_cast<size_t>(node)].row, 0,
                       static_cast<quintptr>(node));
}

int32_t RegistryTreeModel::nodeOf(const QModelIndex& index) const {
    if (!index.isValid() || index.model() != this) return -1;
    return static_cast<int32_t>(index.internalId());
}

const TreeNode* RegistryTreeModel::treeNode(const QModelIndex& index) const {
    const int32_t node = nodeOf(index);
    return node < 0 ? nullptr : &registry->nodes()[static_cast<size_t>(node)];
}

const std::vector<int32_t>* RegistryTreeModel::childrenOf(const QModelIndex& parent) const {
    if (!registry) return nullptr;
    if (!parent.isValid()) return &registry->topLevel();
    const TreeNode& node = registry->nodes()[static_cast<size_t>(nodeOf(parent))];
    static const std::vector<int32_t> kNone;
    return node.depth + 1 >= kMaxShownDepth ? &kNone : &node.children;
}

QModelIndex RegistryTreeModel::index(int row, int column, const QModelIndex& parent) const {
    const auto* children = childrenOf(parent);
    if (!children || column != 0 || row < 0 || row >= static_cast<int>(children->size())) return {};
    return createIndex(row, 0, static_cast<quintptr>((*children)[static_cast<size_t>(row)]));
}

QModelIndex RegistryTreeModel::parent(const QModelIndex& child) const {
    const TreeNode* node = treeNode(child);
    return node ? indexOfNode(node->parent) : QModelIndex();
}

int RegistryTreeModel::rowCount(const QModelIndex& parent) const {
    if (parent.column() > 0) return 0;
    const auto* children = childrenOf(parent);
    return children ? static_cast<int>(children->size()) : 0;
}

int RegistryTreeModel::columnCount(const QModelIndex&) const {
    return 1;
}

QVariant RegistryTreeModel::data(const QModelIndex& index, int role) const {
    const TreeNode* node = treeNode(index);
    if (!node) return {};
    if (role == Qt::DisplayRole) return DisplayText(node->text);
    if (role == Qt::DecorationRole) return nodeIcon;
    return {};
}

}  // namespace thornbeck
