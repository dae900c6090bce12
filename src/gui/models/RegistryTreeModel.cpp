#include "gui/models/RegistryTreeModel.h"

#include <QApplication>
#include <QStyle>

#include "gui/text/DisplayText.h"

namespace thornbeck {

RegistryTreeModel::RegistryTreeModel(QObject* parent) : QAbstractItemModel(parent) {
    // A folder shows a closed folder, and an open one while it is selected; an entry a page.
    const QStyle* style = QApplication::style();
    nodeIcon.addPixmap(style->standardIcon(QStyle::SP_DirClosedIcon).pixmap(16), QIcon::Normal);
    nodeIcon.addPixmap(style->standardIcon(QStyle::SP_DirOpenIcon).pixmap(16), QIcon::Selected);
    entryIcon = style->standardIcon(QStyle::SP_FileIcon);
}

QString SharedKeyNote(int32_t entries) {
    return QObject::tr(
               "%1 entries have this key; the tree shows the last, the list and the CSV "
               "the first")
        .arg(entries);
}

void RegistryTreeModel::setRegistryIndex(const RegistryIndex* index) {
    beginResetModel();
    registry = index;
    endResetModel();
}

QModelIndex RegistryTreeModel::indexOfNode(int32_t node) const {
    if (!registry || node < 0 || node >= static_cast<int32_t>(registry->nodes().size())) return {};
    if (registry->nodes()[static_cast<size_t>(node)].depth >= kMaxShownDepth) return {};
    return createIndex(registry->rowOf(node), 0, static_cast<quintptr>(node));
}

int32_t RegistryTreeModel::nodeOf(const QModelIndex& index) const {
    if (!index.isValid() || index.model() != this) return -1;
    return static_cast<int32_t>(index.internalId());
}

const TreeNode* RegistryTreeModel::treeNode(const QModelIndex& index) const {
    const int32_t node = nodeOf(index);
    return node < 0 ? nullptr : &registry->nodes()[static_cast<size_t>(node)];
}

QModelIndexList RegistryTreeModel::levelsFirst(int64_t most) const {
    QModelIndexList found;
    if (!registry) return found;
    std::vector<int32_t> level(registry->topLevel().begin(), registry->topLevel().end());
    std::vector<int32_t> below;
    while (!level.empty()) {
        for (const int32_t node : level) {
            const QModelIndex item = indexOfNode(node);
            const auto children = childrenOf(item);
            if (children.empty()) continue;
            if (found.size() >= most) return found;
            found.append(item);
            below.insert(below.end(), children.begin(), children.end());
        }
        level.swap(below);
        below.clear();
    }
    return found;
}

std::span<const int32_t> RegistryTreeModel::childrenOf(const QModelIndex& parent) const {
    if (!registry) return {};
    if (!parent.isValid()) return registry->topLevel();
    const int32_t node = nodeOf(parent);
    if (registry->nodes()[static_cast<size_t>(node)].depth + 1 >= kMaxShownDepth) return {};
    return registry->childrenOf(node);
}

QModelIndex RegistryTreeModel::index(int row, int column, const QModelIndex& parent) const {
    const auto children = childrenOf(parent);
    if (column != 0 || row < 0 || row >= static_cast<int>(children.size())) return {};
    return createIndex(row, 0, static_cast<quintptr>(children[static_cast<size_t>(row)]));
}

QModelIndex RegistryTreeModel::parent(const QModelIndex& child) const {
    const TreeNode* node = treeNode(child);
    return node ? indexOfNode(node->parent) : QModelIndex();
}

int RegistryTreeModel::rowCount(const QModelIndex& parent) const {
    if (parent.column() > 0) return 0;
    return static_cast<int>(childrenOf(parent).size());
}

int RegistryTreeModel::columnCount(const QModelIndex&) const {
    return 1;
}

Qt::ItemFlags RegistryTreeModel::flags(const QModelIndex& index) const {
    const Qt::ItemFlags flags = QAbstractItemModel::flags(index);
    return index.isValid() && rowCount(index) == 0 ? flags | Qt::ItemNeverHasChildren : flags;
}

QVariant RegistryTreeModel::data(const QModelIndex& index, int role) const {
    const TreeNode* node = treeNode(index);
    if (!node) return {};
    if (role == Qt::DisplayRole) return DisplayText(node->text());
    if (role == Qt::DecorationRole) return node->entry ? entryIcon : nodeIcon;
    if (role == Qt::ToolTipRole) {
        const int32_t shared = registry->entriesWithKeyOf(static_cast<int32_t>(index.internalId()));
        return shared < 2 ? QVariant() : QVariant(SharedKeyNote(shared));
    }
    return {};
}

}  // namespace thornbeck
