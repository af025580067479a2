#include "ui/design/UTkCateTree.h"

#include <QSqlQuery>
#include <QTreeWidget>

#include "data/UnitData.h"

namespace {
void LoadChildren(QTreeWidgetItem* node) {
    const QString parID = CategoryNodeID(node);
    if (!IsCounterKey(parID)) return;
    auto query =
        OpenQuery(QStringLiteral("SELECT KSID,KSName,parID FROM FCpCls WHERE parID=") + parID);
    while (query->next()) {
        auto* child = new QTreeWidgetItem(node, {FieldText(*query, "KSName")});
        child->setData(0, Qt::UserRole, FieldText(*query, "KSID"));
        LoadChildren(child);
    }
}
}  // namespace

void LoadCategoryTree(QTreeWidget* tree) {
    tree->clear();
    auto* root = new QTreeWidgetItem(tree, {QStringLiteral("图库类别")});
    root->setData(0, Qt::UserRole, QStringLiteral("0"));
    LoadChildren(root);
    root->setExpanded(true);
}

QString CategoryNodeID(const QTreeWidgetItem* node) {
    return node ? node->data(0, Qt::UserRole).toString() : QString();
}

QTreeWidgetItem* SelectedCategoryNode(const QTreeWidget* tree) {
    const QList<QTreeWidgetItem*> selected = tree->selectedItems();
    return selected.isEmpty() ? nullptr : selected.first();
}
