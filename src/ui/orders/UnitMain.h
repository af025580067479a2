#pragma once
// TfrmMain: the main window and order workspace. Holds the open order (proID, proName;
// empty until the user creates or opens one), shows it as a tree, lists its cabinet
// entries as thumbnails with the order's area and fee statistics, and opens every other
// window of the program.

#include <QMainWindow>

#include "ui/UiPlatform.h"
#include "ui/orders/UnitMainLinks.h"

class QAction;
class QLabel;
class QListWidget;
class QListWidgetItem;
class QMenu;
class QSplitter;
class QTabWidget;
class QTableWidget;
class QToolBar;
class QTreeWidget;

class TfrmMain : public QMainWindow {
    Q_OBJECT
  public:
    explicit TfrmMain(QWidget* parent = nullptr);

    // The open order.
    QString proID;
    QString proName;

    // Menus and their commands.
    QMenu* mnuPro;
    QAction* mnuNewPro;
    QAction* mnuOpenPro;
    QMenu* mnuMaterial;
    QAction* mnuWuLiao;
    QAction* mnuYuLiao;  // 余料库存
    QMenu* mnuCust;
    QAction* mnuCustomer;
    QMenu* mnuReport;
    QAction* mnuPanelRpt;  // panel list report of the order
    QAction* mnuSizeRpt;   // size sheet of the selected cabinet
    QAction* mnuDrawRpt;   // drawing sheet of the selected cabinet
    QMenu* mnuSet;
    QAction* mnuSettings;
    QAction* mnuDataDct;
    QAction* mnuPZBZ;  // drilling standards
    QMenu* mnuData;
    QAction* mnuRestore;
    QAction* mnuBackup;
    QMenu* mnuHelp;
    QAction* mnuAbout;

    // The big tool bar.
    QToolBar* ToolBar1;
    QLabel* imgLogo;
    QAction* tlSizeRpt;
    QAction* tlOpt;
    QAction* tlCutRpt;
    QAction* tlWuLiao;
    QAction* tlWinKu;
    QAction* tlSettings;

    // Left pane: order commands, order tree, statistics.
    QSplitter* Splitter1;
    QToolBar* ToolBar2;
    QAction* tlNewPro;
    QAction* tlOpenPro;
    QTreeWidget* trvProject;
    QTabWidget* pgProperty;
    QTableWidget* sgProperty;

    // Middle pane: cabinet commands and the cabinet list.
    QToolBar* ToolBar3;
    QAction* tlDesign;
    QAction* tlWinSel;
    QAction* tlEdit;
    QAction* tlDel;
    QListWidget* lstWins;

    // Status bar panels 0 to 3.
    QLabel* StatusPanel[4];
    QLabel* lblDataNotice;  // read-only data or data outside the program's folder

    // Longest stretch (ms) a cabinet list load keeps the window from handling input.
    int EventIntervalMs = 25;

    TSaveDialog* SaveDia;
    TColorDialog* ColorDialog1;

    // Loading the open order.
    void LoadOrderTree();
    void LoadCabinetList();
    // After a restore: settings read again; the open order reloaded from the restored
    // database, or closed when it is not there.
    void ReloadAfterRestore();

    // Order statistics: initial labels and the recalculation for the open order.
    void InitProperty();
    void CalcProperty();

    // Commands.
    void tlNewProClick();
    void tlOpenProClick();
    void tlDesignClick();
    void tlWinSelClick();
    void tlEditClick();
    void tlDelClick();
    void tlSizeRptClick();  // also the menu's size sheet entry
    void mnuDrawRptClick();
    void mnuPanelRptClick();
    void tlOptClick();
    void tlCutRptClick();
    void tlWuLiaoClick();  // also "材料管理"
    void mnuYuLiaoClick();
    void tlWinKuClick();
    void tlSettingsClick();  // also "系统设置(&T)"
    void mnuPZBZClick();
    void mnuCustomerClick();
    void mnuDataDctClick();
    void mnuRestoreClick();
    void mnuBackupClick();
    void mnuAboutClick();

    // Key of the selected cabinet entry, empty when none is selected.
    QString SelectedWinID() const;
    QString StatusText(int panel) const;

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    void BuildMenus();
    void BuildToolBar();
    QWidget* BuildLeftPane();
    QWidget* BuildMiddlePane();
    void BuildStatusBar();
    void ReadSettings();
    // The open-order / selection preconditions: show the message and answer false.
    bool RequireOrder(const QString& message);
    bool RequireSelection(const QString& message);
    void RunReport(TReportKind kind, const QString& winID);
    void OpenOrder(const QString& key, const QString& name);

    bool p_shownOnce = false;
    int p_loadGeneration = 0;  // counts cabinet list loads, so a superseded one stops
};
