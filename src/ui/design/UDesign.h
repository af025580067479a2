#pragma once
// TfrmDesign: the single-cabinet designer. The user sizes one parametric cabinet,
// picks regions of its front view and adds boards, doors and drawers through the
// board, door and drawer dialogs; the window draws the cabinet, lists its boards and
// regions, zooms, turns the view, nudges a selected board, undoes the last object,
// loads a cabinet from the library and stores the cabinet into the library.
//
// Openers set the fields before showing the window modally and read IsOK afterwards;
// when it is true, Cabinet is the designed cabinet. Cabinet may point at an object the
// opener handed in (edit mode, changed in place by the add tools) or at one the
// designer made (new cabinet, undo, nudging, 选柜体, 新建); TakeCabinet hands the result
// over as an object the opener owns in both cases.

#include <QDialog>
#include <QPoint>
#include <functional>
#include <memory>
#include <vector>

#include "cabinet/UCabinet.h"
#include "ui/design/UClSel.h"

class QCheckBox;
class QLineEdit;
class QScrollArea;
class QSpinBox;
class QTabWidget;
class QTableWidget;
class QToolButton;
class QTreeWidget;
class TfrmDesign;

// The picture the cabinet is drawn in. Mouse presses, releases and moves go to the
// designer's handlers in picture pixels.
class TDesignPicture : public QWidget {
    Q_OBJECT
  public:
    explicit TDesignPicture(TfrmDesign* owner);

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

  private:
    TfrmDesign* p_owner;
};

// What the library windows answer. The browser returns the library document text of
// the chosen cabinet (empty when none was chosen); the category chooser gets the
// proposed name, may change it, and returns the chosen category ID (empty for none).
using TLibraryBrowseHandler = std::function<QString(QWidget* parent)>;
using TLibraryCategoryHandler = std::function<QString(QWidget* parent, QString& name)>;
// Replaces the windows 选柜体 and 图库 open; an empty function restores the defaults,
// the library browser TfrmWinKu and the category chooser TfrmSelTkCate.
void SetDesignLibraryBrowser(TLibraryBrowseHandler handler);
void SetDesignLibraryCategoryChooser(TLibraryCategoryHandler handler);

class TfrmDesign : public QDialog {
    Q_OBJECT
  public:
    explicit TfrmDesign(QWidget* parent = nullptr);
    ~TfrmDesign() override;

    // --- hand-over members -------------------------------------------------------
    bool IsOK = false;    // set by 保存
    bool IsEdit = false;  // set by the opener before handing in a cabinet to edit
    // The cabinet being edited; nullptr until created, given or loaded. Setting a
    // cabinet from outside (SetCabinet or assigning) leaves it owned by the opener.
    FCabinet* Cabinet = nullptr;
    void SetCabinet(FCabinet* cabinet);
    // The designed cabinet as an object the caller owns: the designer's own object is
    // handed over, an object the opener handed in is copied. nullptr without a cabinet.
    std::unique_ptr<FCabinet> TakeCabinet();

    // --- window state ------------------------------------------------------------
    int optFlag = 100;
    int ChiCun = 360;
    double dv = 0;
    QPoint pos{100, 60};
    double Angle = 80;
    double Angle2 = 10;

    // --- controls ----------------------------------------------------------------
    QLineEdit* txtGTName;
    QLineEdit* txtW;
    QLineEdit* txtD;
    QLineEdit* txtH;
    QSpinBox* spA;
    QSpinBox* spY;
    QCheckBox* chk3D;
    QCheckBox* chkZST;
    QTabWidget* pgc;
    QTreeWidget* lstBC;
    QTableWidget* sgProperty;
    QTreeWidget* lstReg;
    QScrollArea* sbPicture;
    TDesignPicture* imgPnl;
    QToolButton* tlNew;
    QToolButton* tlSave;
    QToolButton* tlSaveTK;
    QToolButton* tlSelGt;
    QToolButton* tlExit;  // 退出: closes the window, asking first about unsaved work
    QToolButton* tlZZ;
    QToolButton* tlBeiBan;
    QToolButton* tlDingBan;
    QToolButton* tlCeBan;
    QToolButton* tlDiBan;
    QToolButton* tlCengban;
    QToolButton* tlGeBan;
    QToolButton* tlShuBan;
    QToolButton* tlMen;
    QToolButton* tlChouTi;
    QToolButton* tlDel;
    QToolButton* tlRedo;  // 重做: puts back what 撤销 took, one object at a time
    QToolButton* tlMax;
    QToolButton* tlMin;
    QSpinBox* spVal;
    QToolButton* tlL;
    QToolButton* tlR;
    QToolButton* tlT;
    QToolButton* tlB;

    // The material chooser shared by every dialog this designer opens.
    TClSelHolder ClSel;

    // --- handlers (picture coordinates in pixels) --------------------------------
    void imgPnlMouseDown(int x, int y);
    void imgPnlMouseUp(int x, int y);
    void imgPnlMouseMove(int x, int y);
    void ToolClick(int tag);  // 指针 (100) and the add tools (801 ... 809)
    void tlNewClick();
    void tlSaveClick();
    bool tlSaveTKClick();  // true when the cabinet was stored in the library
    void tlSelGtClick();
    void tlDelClick();
    void tlRedoClick();
    void tlMaxClick();
    void tlMinClick();
    void NudgeClick(int tag);  // tlL 1, tlR 2, tlT 3, tlB 4
    void lstBCSelect(int row);
    void lstRegSelect(int row);
    void SizeFieldChange();
    void txtGTNameChange();
    void chkZSTClick();
    void ViewAngleChange();
    // Redraws the picture (the next paint draws the cabinet at the current view).
    void Redraw();
    // Rebuilds the board and region lists from the cabinet.
    void FillLists();
    // The picture as it is painted now, for checks and screenshots.
    QImage RenderPicture();
    // Paints the cabinet and, after a mouse move, the crosshair with its read-out.
    void PaintPicture(QPainter& painter);

    // Whether the cabinet or its name differs from what the window was opened with.
    // Before the window was first shown nothing counts as a change.
    bool HasUnsavedChanges() const;
    // Window close, Escape and 退出: with unsaved changes asks 保存 / 不保存 / 取消;
    // 保存 saves as the 保存 button does (图库 when the designer works for the library)
    // and closes only when that succeeded, 取消 keeps the window open.
    void reject() override;

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    // Makes cabinet the edited one; the designer owns it.
    // Every replacement but 撤销 and 重做 themselves forgets what 重做 could put back.
    void ReplaceCabinet(std::unique_ptr<FCabinet> cabinet, bool keepRedo = false);
    // Runs the dialog of the current add tool for the selected region.
    void RunAddDialog(int x, int y);
    // The size-field rule: a new empty cabinet when all three sizes are at least 100.
    void ApplySizeFields();
    bool HasBoards() const;
    // Everything 保存 hands over, as text: the name and the cabinet's document.
    QString SavedState() const;
    // Places through place on a copy first; a placement that clashes or does not fit
    // is refused with a message and leaves the cabinet as it was. Otherwise it is
    // made on the cabinet and the region it leaves for the next element is selected.
    void TryPlace(const std::function<void(FCabinet&)>& place);
    // Forgets what 撤销 took: after any other change 重做 has nothing to put back.
    void ForgetRedo();

    std::unique_ptr<FCabinet> p_own;  // the designer's own cabinet (Cabinet when set)
    bool p_cross = false;             // a crosshair is to be painted at p_mouse
    QPoint p_mouse;
    bool p_shownOnce = false;
    // Cabinets as they were before each 撤销, newest last.
    std::vector<std::unique_ptr<FCabinet>> p_redo;
    bool p_hasOpeningState = false;  // p_openingState was taken when first shown
    QString p_openingState;
};
