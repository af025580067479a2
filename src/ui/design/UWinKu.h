#pragma once
// TfrmWinKu: "柜体图库", the cabinet library. A category tree on the left; the entries
// of the selected category as 128 × 128 thumbnails, 100 per page. "选择该柜体" hands
// the picked entry back in tkID and WinXml (its stored document; empty when nothing was
// picked). The tree's context menu maintains the categories.

#include <QDialog>
#include <QImage>
#include <vector>

class QAction;
class QListWidget;
class QMenu;
class QTabWidget;
class QToolBar;
class QTreeWidget;
class QTreeWidgetItem;
class QWidget;

class TfrmWinKu : public QDialog {
    Q_OBJECT
  public:
    explicit TfrmWinKu(QWidget* parent = nullptr);

    // One library entry of the selected category.
    struct TEntry {
        QString tkPath;
        QString cateID;
        QString tkID;
        QString TkName;
    };

    static constexpr int kPageSize = 100;
    static constexpr int kIconSize = 128;

    int curPage = 1;
    int totalPage = 0;
    int totalCount = 0;
    std::vector<TEntry> dt;  // entries of the selected category, in the order read
    QString tkID;
    QString WinXml;

    QTabWidget* PageControl1;
    QWidget* TabSheet1;
    QTabWidget* PageControl2;
    QWidget* TabSheet2;
    QTreeWidget* tree;
    QMenu* PopupMenu1;
    QAction* N1;
    QAction* N2;
    QAction* N4;
    QAction* N5;
    QToolBar* ToolBar1;
    QAction* tlWinDesign;
    QAction* tlDel;
    QAction* tlPre;
    QAction* tlNext;
    QAction* tlSelWin;
    QListWidget* lstWins;

    void LoadTree();    // when shown, and after a category was added
    void treeChange();  // a category node was selected
    void LoadEntries(const QString& cateID);
    void ShowPage();
    void tlPreClick();
    void tlNextClick();
    void tlSelWinClick();  // also a double click on the list
    void tlDelClick();
    void tlWinDesignClick();
    void N1Click();  // 新增同级类别
    void N2Click();  // 新增子级类别
    void N4Click();  // 编辑当前类别
    void N5Click();  // 删除当前类别

    // The 128 × 128 thumbnail of a stored document; a document that cannot be read
    // gives a blank picture.
    static QImage DrawEntryImage(const QString& tkPath);

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    QString p_cateID;    // category whose entries dt holds
    int p_pageLoad = 0;  // counts page loads; a load that sees it change stops
};
