#pragma once
// TfrmOptBl: the optimization dialog ("板材切割排样优化") of one order. Lists the raw
// materials the order's panels are made of, shows the panels of the selected one, and
// runs one optimizer search per checked material, one after the other, each under a
// modal progress window (TfrmCulcControler). Every finished result is offered to the
// layout store, which keeps the best layout of each raw material of the order.

#include <QDialog>
#include <QString>
#include <cstdint>
#include <optional>

#include "cabinet/UDataType.h"
#include "optimizer/UnitD2Rect.h"
#include "optimizer/UnitD2RectDeep.h"
#include "ui/optimize/UnitCulcControler.h"

class QAction;
class QEventLoop;
class QGroupBox;
class QMenu;
class QProgressBar;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;

class TfrmOptBl : public QDialog {
    Q_OBJECT
  public:
    explicit TfrmOptBl(QWidget* parent = nullptr);
    ~TfrmOptBl() override;

    TD2RRawArr rawArr;  // raw list of the current run
    TD2REleArr eleArr;  // part list of the current run
    TD2RPrm prm;
    TD2Rect* d2Ga = nullptr;  // the running optimizer
    // The running deep search: the settings' time class 深度计算 (OptT1 = 2) runs it
    // instead, for the settings' time per material.
    TD2RDeep* d2Deep = nullptr;
    TD2RSchame Schame;        // the result being stored
    bool isStop = false;      // the user cancelled the batch
    TSysSet sysSet;
    QString proID;

    // Seed of every search of a batch; unset in the program, so each run draws its own.
    std::optional<uint64_t> Seed;

    QGroupBox* GroupBox1;
    QTreeWidget* lstBlYp;  // the order's raw materials, checkable
    QGroupBox* GroupBox2;
    QTreeWidget* lstBlList;  // panels of the selected material
    QPushButton* btnOK;
    QPushButton* btnView;  // the layout viewer, after a run
    QPushButton* btnCutOK;  // 确认开料: the stored layouts are being cut
    QProgressBar* ProgressBar1;  // materials done
    QMenu* PopupMenu1;
    QAction* mnuSelAll;
    QAction* mnuUnSelAll;

    // Columns of lstBlYp and lstBlList.
    enum { colYpCheck = 0, colYpID, colYpName, colYpLength, colYpWidth, colYpThick };
    enum { colBlNo = 0, colBlName, colBlLength, colBlWidth, colBlCount, colBlGrain };

    void FormCreate();
    void FormShow();
    void LoadBCSByProID();
    void lstBlYpChange();
    void SetPrm();
    void SetRawArr();
    // False (after telling the user which panel row) when a row's quantity is not a
    // whole number or its length or width is not a number.
    bool SetEleArr();
    // False (after telling the user) when the part list holds more pieces than one run
    // takes (kMaxPiecesPerRun).
    bool PieceCountWithinLimit(const QString& material);
    void btnOKClick();
    void btnViewClick();
    // 确认开料: marks the order's stored layouts as cut, keeps their leftovers at least
    // the settings' minimum offcut and uses up the offcuts they lie on (one transaction).
    void btnCutOKClick();
    // Enables 确认开料 when the order has stored layouts not yet confirmed.
    void UpdateCutButton();
    void mnuSelAllClick();
    void mnuUnSelAllClick();

    void ReciveResult();  // WM_D2R_DONE
    void ReciveStop();    // WM_D2R_ACCEPT
    void ReciveStop1();   // WM_D2R_CANCEL

    // The progress window of the current run (null between runs).
    TfrmCulcControler* CurrentProgress() const { return p_progress; }

    // True while a batch runs.
    bool IsRunning() const { return p_running; }

  public slots:
    // The dialog stays open while a batch runs: the batch and its search thread
    // report to it until the end.
    void reject() override;

  protected:
    bool event(QEvent* e) override;
    void closeEvent(QCloseEvent* e) override;
    void showEvent(QShowEvent* e) override;

  private:
    void RunBatch();
    void RunSelected();
    void FinishRun();
    QTreeWidgetItem* SelectedMaterial() const;

    TD2RMessageForwarder p_forwarder;
    TfrmCulcControler* p_progress = nullptr;
    bool p_done = false;           // the current run has reported its end
    bool p_loading = false;        // lstBlYp is being filled
    bool p_running = false;        // a batch runs
    QEventLoop* p_wait = nullptr;  // waiting for the end of a cancelled search
};
