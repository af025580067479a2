#pragma once
// The category tree of the cabinet library, shared by the library browser and the
// category chooser: the root "图库类别" stands for parent 0, every other node is a row of
// FCpCls and carries its KSID.

#include <QString>

class QTreeWidget;
class QTreeWidgetItem;

// Clears the tree and loads every category below the root, depth first in the order
// the rows come back; the root is expanded one level.
void LoadCategoryTree(QTreeWidget* tree);

// The category ID a node carries ("0" for the root); empty for no node.
QString CategoryNodeID(const QTreeWidgetItem* node);

// The node the category commands act on: the selected one, nullptr when none is.
QTreeWidgetItem* SelectedCategoryNode(const QTreeWidget* tree);
