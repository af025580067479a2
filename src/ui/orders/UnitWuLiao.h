#pragma once
// TfrmWuLiao: the raw materials in stock, grouped by material category. The category
// tree on the left (root "全部类别"), the materials of the selected category on the right.

#include <QDialog>

class QAction;
class QMenu;
class QTabWidget;
class QTableWidget;
class QToolBar;
class QTreeWidget;
class QTreeWidgetItem;

class TfrmWuLiao : public QDialog {
    Q_OBJECT
  public:
    explicit TfrmWuLiao(QWidget* parent = nullptr);

    QString cateID;    // key of the selected category, empty for the root
    QString cateName;  // text of the selected node

    QTabWidget* pcCate;
    QWidget* tabCate;  // "材料类别"
    QToolBar* tbCate;
    QAction* tlCateAdd;
    QAction* tlCateEdit;
    QAction* tlCateDel;
    QTreeWidget* treeCate;
    QMenu* pmCate;
    QAction* mnuCateAdd;
    QAction* mnuCateEdit;
    QAction* mnuCateDel;

    QTabWidget* pcYl;
    QWidget* tabYl;  // caption: the selected node's text
    QToolBar* tbYl;
    QAction* tlYlAdd;
    QAction* tlYlEdit;
    QAction* tlYlDel;
    QTableWidget* sgYl;

    void LoadCategories();  // rebuilds the tree: root and one node per category
    void LoadMaterials();   // materials of the selected category, or all of them
    void treeCateChange();  // a node was selected

    void tlCateAddClick();
    void tlCateEditClick();  // starts renaming the selected category in place
    void tlCateDelClick();
    // End of an in-place rename of node: a non-empty name is stored.
    void treeCateEdited(QTreeWidgetItem* node);

    void tlYlAddClick();
    void tlYlEditClick();
    void tlYlDelClick();

    QTreeWidgetItem* RootNode() const;
    // The selected node when it is a category (has a parent), else nullptr.
    QTreeWidgetItem* SelectedCategoryNode() const;

  private:
    QTreeWidgetItem* p_editNode = nullptr;
    QString p_editOldName;
};
