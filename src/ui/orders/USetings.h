#pragma once
// TfrmSettings: the system parameters (FSysSet: company name, saw kerf, size precision,
// optimization time, the trim margins of a sheet and the smallest offcut kept) and the
// seven fee rates of the order statistics (FProFei). Every number is checked before
// anything is stored: a value that is not a number or out of range is refused with a
// message and the table stays as it was.

#include <QDialog>

class QComboBox;
class QLineEdit;
class QPushButton;
class QTabWidget;

class TfrmSettings : public QDialog {
    Q_OBJECT
  public:
    explicit TfrmSettings(QWidget* parent = nullptr);

    QTabWidget* pcSet;
    QWidget* tabSys;  // "系统参数"
    QWidget* tabFee;  // "费用设置"

    QLineEdit* txtBlade;
    QComboBox* cbJQD;
    QComboBox* cbOpt1;
    QLineEdit* txtCmpName;
    // Trim margins kept free on each side of every sheet (whole mm, 0 … 1000).
    QLineEdit* txtTrimT;
    QLineEdit* txtTrimB;
    QLineEdit* txtTrimL;
    QLineEdit* txtTrimR;
    // Smallest leftover kept as an offcut, length and width (mm).
    QLineEdit* txtMinOffL;
    QLineEdit* txtMinOffW;
    QLineEdit* txtDeepSec;
    QPushButton* btnSysOK;
    QPushButton* btnSysClose;
    // "数据库连接": the database this seat uses from its next start.
    QPushButton* btnDbConnect;

    QLineEdit* txtJGF;
    QLineEdit* txtAZF;
    QLineEdit* txtJXF;
    QLineEdit* txtSDF;
    QLineEdit* txtYSF;
    QLineEdit* txtGLF;
    QLineEdit* txtQTF;
    QPushButton* btnFeeOK;
    QPushButton* btnFeeClose;

    // Reads the fees, then the system parameters, into the controls.
    void LoadSettings();
    void btnSysOKClick();
    void btnFeeOKClick();
    void btnCloseClick();
    void btnDbConnectClick();

  private:
    QLineEdit* NumberEdit(const char* name) const;

  protected:
    void showEvent(QShowEvent* event) override;
};
