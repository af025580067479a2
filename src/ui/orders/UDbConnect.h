#pragma once
// TfrmDbConnect: "数据库连接", where the database of this seat is chosen: the embedded
// file (the default) or a Kelm database on a PostgreSQL server shared by several seats.
// 测试连接 connects without changing anything and tells whether the database is a Kelm
// database, an empty one (its tables are made on first use) or something else. 确定
// accepts a complete choice; the caller saves it (SaveConfiguredDatabase) and the
// program uses it from its next start.

#include <QDialog>

class QLineEdit;
class QPushButton;
class QRadioButton;
class QSpinBox;
class QWidget;

class TfrmDbConnect : public QDialog {
    Q_OBJECT
  public:
    explicit TfrmDbConnect(QWidget* parent = nullptr);

    // Fills the controls from a connection form (file path or postgresql:// URL; "" is
    // the default file) and reads them back as one.
    void SetConnection(const QString& text);
    QString Connection() const;

    QRadioButton* rbFile;    // "文件"
    QRadioButton* rbServer;  // "PostgreSQL 服务器"
    QLineEdit* txtFile;
    QPushButton* btnBrowse;
    QLineEdit* txtHost;
    QSpinBox* spnPort;
    QLineEdit* txtDatabase;
    QLineEdit* txtUser;
    QLineEdit* txtPassword;
    QPushButton* btnTest;  // "测试连接"
    QPushButton* btnOK;
    QPushButton* btnCancel;

    void btnTestClick();
    void btnOKClick();

  private:
    void UpdateEnabled();
    // The choice as a connection form ("" for the default file); false with a message
    // shown when it is incomplete.
    bool CheckConnection(QString& text);

    QWidget* p_fileBox = nullptr;
    QWidget* p_serverBox = nullptr;
};
