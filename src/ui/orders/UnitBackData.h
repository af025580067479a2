#pragma once
// TfrmBackData: writes a checked backup of the database (BackupDatabase of the data
// module) to a file of the user's choice, with a progress bar. Also the file copy with
// progress that the restore window uses.

#include <QDateTime>
#include <QDialog>
#include <functional>

class QLineEdit;
class QProgressBar;
class QPushButton;

// Year, month, day, hour and minute written one after the other without separators or
// leading zeros: 9:05 on 7 March 2015 gives "20153795".
QString BackupTimeStamp(const QDateTime& moment);

enum class TCopyResult {
    Copied,   // the target is a complete copy of the source
    Failed,   // the source could not be read or the target not written
    Refused,  // the copy was complete but the check refused it
};

// Copies source to target in about a hundred steps, letting the user interface process
// pending events between steps and reporting the progress (0 to 99) before each step;
// a source of less than 100 bytes goes in one step. The bytes go to a temporary file
// next to the target first; only a complete copy that `accept` (when given) approves
// replaces the target, so a failure leaves an existing target as it was and no partial
// file behind.
TCopyResult CopyWithProgress(const QString& source, const QString& target,
                             const std::function<void(int)>& progress,
                             const std::function<bool(const QString&)>& accept = {});

class TfrmBackData : public QDialog {
    Q_OBJECT
  public:
    explicit TfrmBackData(QWidget* parent = nullptr);

    QLineEdit* txtPath;
    QPushButton* btnBrowse;
    QProgressBar* prsBar;
    QPushButton* btnBack;
    QPushButton* btnClose;

    void btnBrowseClick();
    void btnBackClick();
    void btnCloseClick();

    // True while a copy runs; the window then refuses to close or copy again.
    bool Busy() const { return p_busy; }

    void reject() override;

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    bool p_busy = false;
};
