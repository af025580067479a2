#include "ui/design/UTkCateTree.h"

#include <QSet>
#include <QSqlQuery>
#include <vector>
#include <QTreeWidget>

#include "data/UnitData.h"

namespace {
// Adds the categories whose parent is the node's ID, in result order, and returns them.
// Each category appears once: a damaged table may make a category its own parent or
// an ancestor of its parent, and such a row is left out where it would appear again
// instead of being loaded over and over.
std::vector<QTreeWidgetItem*> AddChildren(QTreeWidgetItem* node, QSet<QString>& shown) {
    std::vector<QTreeWidgetItem*> children;
    const QString parID = CategoryNodeID(node);
    if (!IsCounterKey(parID)) return children;
    auto query =
        OpenQuery(QStringLiteral("SELECT KSID,KSName,parID FROM FCpCls WHERE parID=") + parID);
    while (query->next()) {
        const QString id = FieldText(*query, "KSID");
        if (shown.contains(id)) continue;
        shown.insert(id);
        auto* child = new QTreeWidgetItem(node, {FieldText(*query, "KSName")});
        child->setData(0, Qt::UserRole, id);
        children.push_back(child);
    }
    return children;
}
}  // namespace

void LoadCategoryTree(QTreeWidget* tree) {
    tree->clear();
    auto* root = new QTreeWidgetItem(tree, {QStringLiteral("图库类别")});
    root->setData(0, Qt::UserRole, QStringLiteral("0"));
    // Depth first without recursion, so however deep the categories go the stack does not.
    QSet<QString> shown{QStringLiteral("0")};
    std::vector<QTreeWidgetItem*> pending{root};
    while (!pending.empty()) {
        QTreeWidgetItem* node = pending.back();
        pending.pop_back();
        const std::vector<QTreeWidgetItem*> children = AddChildren(node, shown);
        pending.insert(pending.end(), children.rbegin(), children.rend());
    }
    root->setExpanded(true);
}

QString CategoryNodeID(const QTreeWidgetItem* node) {
    return node ? node->data(0, Qt::UserRole).toString() : QString();
}

QTreeWidgetItem* SelectedCategoryNode(const QTreeWidget* tree) {
    const QList<QTreeWidgetItem*> selected = tree->selectedItems();
    return selected.isEmpty() ? nullptr : selected.first();
}
