#pragma once
// TfrmRestoreData: replaces the database file by a chosen backup, with a progress bar.
// A file that is not a complete Kelm database is refused and the data stay as they were.

#include <QDialog>
#include <functional>

#include "data/UnitDataBackup.h"  // IsKelmDatabaseFile

class QLineEdit;
class QProgressBar;
class QPushButton;

// The file-open dialog of the restore window: returns the chosen path, or an empty text
// when cancelled. Tests replace it; an empty function restores the real dialog.
using OpenFileHandler =
    std::function<QString(QWidget* parent, const QString& title, const QString& filter)>;
void SetOpenFileHandler(OpenFileHandler handler);


class TfrmRestoreData : public QDialog {
    Q_OBJECT
  public:
    explicit TfrmRestoreData(QWidget* parent = nullptr);

    QLineEdit* txtPath;
    QPushButton* btnBrowse;
    QProgressBar* prsBar;
    QPushButton* btnRestore;
    QPushButton* btnClose;
    QString OpenDialogFilter = QStringLiteral("备份文件|*.bak");

    void btnBrowseClick();
    void btnRestoreClick();
    void btnCloseClick();

    bool Busy() const { return p_busy; }
    void reject() override;

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    void RestoreOnServer(const QString& path);
    // Reopens the data, enables the window again and tells the outcome.
    void Finish(bool restored, bool foreign);
    bool p_busy = false;
};
