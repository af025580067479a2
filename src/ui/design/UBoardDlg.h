#pragma once
// TBoardDlgBase: what the seven board dialogs share. The region's size (written by the
// designer), the material with its chooser, the board's name and grain, optionally its
// shape, and the spacing and edge banding sub-dialogs. On 确定 the dialog checks its
// input and leaves the results in Cl, Edge, FB, WL (and shape) with IsOk set; the
// designer passes them on to the cabinet.

#include <QDialog>
#include <memory>

#include "cabinet/UDataType.h"

class QComboBox;
class QGroupBox;
class QLineEdit;
class QPushButton;
class QVBoxLayout;
class TClSelHolder;
class TfrmSetEdge;
class TfrmFBSet;

class TBoardDlgBase : public QDialog {
    Q_OBJECT
  public:
    // Which of the six sub-dialog fields stay visible, by letter: L R T B Q H.
    struct TConfig {
        QString caption;
        QString defaultName;
        bool hasShape = false;
        QString edgeFields;
        QString fbFields;
    };
    TBoardDlgBase(const TConfig& config, QWidget* parent);
    ~TBoardDlgBase() override;

    // --- results -------------------------------------------------------------------
    bool IsOk = false;
    FCl Cl;
    FEdge Edge;
    FFengB FB;
    QString WL;
    FShape shape = FShape::R;
    // The chooser to use; when not set, the dialog keeps one of its own.
    TClSelHolder* ClSelHolder = nullptr;

    // --- controls ------------------------------------------------------------------
    QLineEdit* txtRegW;
    QLineEdit* txtRegD;
    QLineEdit* txtRegH;
    QLineEdit* txtRegZ;
    QLineEdit* txtClName;
    QPushButton* btnSel;
    QLineEdit* txtName;
    QComboBox* cbWL;
    QComboBox* cbShape = nullptr;  // top, bottom and shelf only
    QPushButton* btnEdge;
    QPushButton* btnFB;
    QPushButton* btnOK;  // named Button1 in the shelf and partition dialogs

    void btnSelClick();
    void btnEdgeClick();
    void btnFBClick();
    void btnOKClick();

  protected:
    // Room for a dialog's own controls, between the material group and the buttons.
    QVBoxLayout* ExtraArea() const { return p_extra; }
    // Checks that come before everything else on 确定 (false stops).
    virtual bool PreCheck() { return true; }
    // Reads the dialog's own results after the shared ones (false stops).
    virtual bool ReadExtra() { return true; }
    // May the spacing dialog open now?
    virtual bool EdgeAllowed() { return true; }
    // Fields of the spacing dialog to show; by default the configured ones.
    virtual QString EdgeFields() const { return p_config.edgeFields; }
    // Last adjustments of the spacing dialog before it is shown.
    virtual void PrepareEdge(TfrmSetEdge&) {}

  private:
    TConfig p_config;
    QVBoxLayout* p_extra;
    std::unique_ptr<TClSelHolder> p_ownClSel;
};

class QSpinBox;

// Shelf and partition dialogs: the position row "位置：" with txtY and the fraction
// spins spFZ / spFM that propose the position of board spFZ among spFM - 1 equally
// spaced boards of the region tmpReg (set by the designer). The button 确定 is Button1.
class TPosBoardDlgBase : public TBoardDlgBase {
    Q_OBJECT
  public:
    TPosBoardDlgBase(const TConfig& config, bool vertical, QWidget* parent);

    FRegion tmpReg;
    QLineEdit* txtY;
    QSpinBox* spFZ;
    QSpinBox* spFM;
    QPushButton* Button1;

    void Button1Click() { btnOKClick(); }
    // Either spin changed: proposes the position once a material is chosen.
    void spFZChange();

  protected:
    // txtY read as a number into value; a text that is not a number is reported.
    bool ReadPosition(double& value);

  private:
    bool p_vertical;  // partition: positions run across the width
};
