#pragma once
// TfrmSettings: the system parameters (FSysSet: company name, saw kerf, size precision,
// optimization time) and the seven fee rates of the order statistics (FProFei).

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
    QPushButton* btnSysOK;
    QPushButton* btnSysClose;

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

  protected:
    void showEvent(QShowEvent* event) override;
};
