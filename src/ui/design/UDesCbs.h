#pragma once
// TfrmDesCbs: "设计", the designer of one order position. The outline typed into sgGT
// becomes a combination (FCabs); the user splits it into regions, designs one cabinet
// per region in the single-cabinet designer, picks customer and edge banding and saves
// the position (with its panel rows) into the open order proID, or, in edit mode, over
// the stored position cbID. IsOk tells the opener that something was saved.

#include <QDialog>
#include <QPoint>
#include <memory>

#include "cabinet/UCabs.h"

class QAction;
class QComboBox;
class QLineEdit;
class QPushButton;
class QScrollArea;
class QTableWidget;
class QToolBar;
class QTreeWidget;
class TfrmDesCbs;

// The picture of the combination; mouse events go to the window's handlers in pixels.
class TDesCbsPicture : public QWidget {
    Q_OBJECT
  public:
    explicit TDesCbsPicture(TfrmDesCbs* owner);

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

  private:
    TfrmDesCbs* p_owner;
};

class TfrmDesCbs : public QDialog {
    Q_OBJECT
  public:
    explicit TfrmDesCbs(QWidget* parent = nullptr);
    ~TfrmDesCbs() override;

    // Tool modes.
    static constexpr int kPointer = 100;
    static constexpr int kAddCabinet = 900;
    static constexpr int kSplitTB = 901;
    static constexpr int kSplitLR = 902;

    int optFlag = kPointer;
    double dv = 0;
    QPoint pos{100, 60};
    bool IsEdit = false;
    bool IsOk = false;
    QString proID;
    std::unique_ptr<FCabs> CBS;  // absent until made from the grid or handed in
    QString cbID;
    // The stored position as it was when opened (FXmlSave::PositionVersion): saving
    // asks before it overwrites a change made meanwhile on another seat.
    QString openedVersion;

    QTableWidget* sgGT;  // row 0 headings, row 1 代码 / 宽(W) / 深(D) / 高(H) / 数量
    QLineEdit* txtCustName;
    QPushButton* btnCustSel;
    QLineEdit* txtCustID;  // hidden
    QComboBox* cbFB;
    QPushButton* btnDCt;
    QTreeWidget* lstSize;
    QToolBar* ToolBar1;
    QAction* tlNew;
    QAction* tlSave;
    QAction* tlAddCB;
    QAction* tlEdit;
    QAction* tlSpTB;
    QAction* tlLR;
    QAction* tlExit;  // 退出: closes the window, asking first about unsaved work
    QScrollArea* sbPicture;
    TDesCbsPicture* imgPnl;

    // The data row's cells (column 0 代码 ... 4 数量).
    QString Cell(int col) const;
    void SetCell(int col, const QString& text);

    void sgGTChange();  // the grid rule: a new combination from valid sizes
    void ToolClick(int tag);
    void tlNewClick();
    void tlEditClick();
    void tlSaveClick();
    void btnCustSelClick();
    void btnDCtClick();
    void imgPnlMouseDown(int x, int y);
    void imgPnlMouseUp(int x, int y);
    void imgPnlMouseMove(int x, int y);
    void ShowSizes();
    void Redraw();
    // The picture as it is painted now (for checks and screenshots).
    QImage RenderPicture();
    void PaintPicture(QPainter& painter);

    // Whether the outline, customer, banding or combination differs from what the
    // window was opened with. Before the window was first shown nothing counts.
    bool HasUnsavedChanges() const;
    // Window close, Escape and 退出: with unsaved changes asks 保存 / 不保存 / 取消;
    // 保存 saves as the 保存 button does and closes only when that succeeded.
    void reject() override;

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    // Everything 保存 writes, as text: the outline row, customer, banding, document.
    QString SavedState() const;

    int MillimetreX(int px) const;
    int MillimetreY(int py) const;

    bool p_cross = false;  // a crosshair is painted at p_mouse
    QPoint p_mouse;
    bool p_filling = false;  // the grid is being set up; its changes make nothing
    bool p_hasOpeningState = false;  // p_openingState was taken when first shown
    QString p_openingState;
};
