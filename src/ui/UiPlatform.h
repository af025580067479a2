#pragma once
// What windows use instead of calling the toolkit's modal loops directly: opening an
// inner window modally, the save-file dialog and the colour dialog. Each goes through
// one replaceable function, so a test scripts what an inner window or a dialog answers
// and the program shows the real thing.

#include <QColor>
#include <QObject>
#include <QString>
#include <functional>

class QCoreApplication;
class QDialog;
class QWidget;

// Loads Qt's own Chinese texts (the text fields' right-click menus, file dialogs, standard
// buttons) from folder, by default the translations folder of the Qt installation
// (Debian package qt6-translations-l10n). The translators belong to app. False when the
// translations are not installed: the program works on, showing those texts in English.
bool InstallQtTranslations(QCoreApplication& app, const QString& folder = QString());

// Opens a window modally and returns when it has closed. The return value is the
// dialog's result code (windows hand their answers back through public members).
int ShowModal(QDialog& dialog);

// Replaces what ShowModal does; an empty function restores the real modal loop.
using ShowModalHandler = std::function<int(QDialog&)>;
void SetShowModalHandler(ShowModalHandler handler);

// Save-file dialog: returns the chosen path, or an empty text when cancelled.
struct TSaveFileRequest {
    QWidget* parent = nullptr;
    QString title;
    QString filter;      // "xls|*.xls": description and pattern separated by '|'
    QString defaultExt;  // appended when the chosen name has no extension
    QString fileName;    // suggested name
};
using SaveFileHandler = std::function<QString(const TSaveFileRequest&)>;
QString RunSaveFileDialog(const TSaveFileRequest& request);
void SetSaveFileHandler(SaveFileHandler handler);  // empty: the real dialog

// Colour dialog: returns true and sets the colour when the user chose one.
using ColorHandler = std::function<bool(QWidget* parent, QColor& color)>;
bool RunColorDialog(QWidget* parent, QColor& color);
void SetColorHandler(ColorHandler handler);  // empty: the real dialog

// A save dialog owned by a window: its settings stay on the window, Execute asks the
// user (through RunSaveFileDialog) and leaves the chosen path in FileName.
class TSaveDialog : public QObject {
    Q_OBJECT
  public:
    explicit TSaveDialog(QObject* parent = nullptr) : QObject(parent) {}
    QString Title;
    QString Filter;
    QString DefaultExt;
    QString FileName;
    bool Execute();
};

// A colour dialog owned by a window; Color keeps the last chosen colour (black at start).
class TColorDialog : public QObject {
    Q_OBJECT
  public:
    explicit TColorDialog(QObject* parent = nullptr) : QObject(parent) {}
    QColor Color = Qt::black;
    bool Execute();
};
