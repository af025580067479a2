#pragma once
// TfrmFile: the folder chooser of the backup window. A drive list, the folders of the
// chosen drive, the selected folder's full path under them, and "选择(&S)", which hands
// that path back in filePath.

#include <QDialog>

class QComboBox;
class QFileSystemModel;
class QLabel;
class QPushButton;
class QTreeView;

class TfrmFile : public QDialog {
    Q_OBJECT
  public:
    explicit TfrmFile(QWidget* parent = nullptr);

    QString filePath;  // the chosen folder, set by "选择(&S)"

    QComboBox* cbDrive;
    QTreeView* lstDir;
    QLabel* lbPath;  // the folder selected in the list
    QPushButton* btnSel;

    // Shows the folder in the list and the label (the drive list follows).
    void SetFolder(const QString& folder);
    void btnSelClick();

  private:
    void DriveChanged(int index);
    QFileSystemModel* p_model;
};
