#include "ui/UiPlatform.h"

#include <QColorDialog>
#include <QDialog>
#include <QFileDialog>
#include <QFileIconProvider>
#include <QFileInfo>
#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QMimeDatabase>
#include <QTranslator>

namespace {
ShowModalHandler& ModalHandler() {
    static ShowModalHandler handler;
    return handler;
}
SaveFileHandler& FileHandler() {
    static SaveFileHandler handler;
    return handler;
}
ColorHandler& ColourHandler() {
    static ColorHandler handler;
    return handler;
}

// "xls|*.xls" (pairs separated by '|') -> "xls (*.xls)" entries for the toolkit.
QString ToolkitFilter(const QString& filter) {
    const QStringList parts = filter.split('|');
    QStringList entries;
    for (int i = 0; i + 1 < parts.size(); i += 2)
        entries << QStringLiteral("%1 (%2)").arg(parts[i], parts[i + 1]);
    return entries.join(QStringLiteral(";;"));
}
// Names and icons of listed files by their extension only. The toolkit's own provider
// reads a file's first bytes when the extension does not tell its type, and opening
// and closing the database file that way drops the locks the database connection
// holds on it (they belong to the process, not to the connection's handle), so another
// program could then change the database under the open connection.
class TExtensionIconProvider : public QFileIconProvider {
  public:
    QIcon icon(IconType type) const override { return QFileIconProvider::icon(type); }
    QIcon icon(const QFileInfo& info) const override {
        if (info.isFile()) return QFileIconProvider::icon(QFileIconProvider::File);
        return QFileIconProvider::icon(info);
    }
    QString type(const QFileInfo& info) const override {
        if (!info.isFile()) return QFileIconProvider::type(info);
        const QMimeType mime =
            QMimeDatabase().mimeTypeForFile(info.fileName(), QMimeDatabase::MatchExtension);
        return mime.comment().isEmpty() ? mime.name() : mime.comment();
    }
};

// Makes a file dialog tell the listed files' types by their extension only.
void ListFilesByExtension(QFileDialog& dialog) {
    // The platform's own dialog would read the files itself.
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    static TExtensionIconProvider icons;  // outlives every dialog and its file lister
    dialog.setIconProvider(&icons);
}
}  // namespace

int ShowModal(QDialog& dialog) {
    if (ModalHandler()) return ModalHandler()(dialog);
    return dialog.exec();
}

void SetShowModalHandler(ShowModalHandler handler) { ModalHandler() = std::move(handler); }

QString RunSaveFileDialog(const TSaveFileRequest& request) {
    if (FileHandler()) return FileHandler()(request);
    QFileDialog dialog(request.parent, request.title, QString(), ToolkitFilter(request.filter));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    ListFilesByExtension(dialog);
    dialog.setDefaultSuffix(request.defaultExt);
    // The toolkit's own labels are English unless its translations are installed.
    dialog.setLabelText(QFileDialog::LookIn, QStringLiteral("保存在："));
    dialog.setLabelText(QFileDialog::FileName, QStringLiteral("文件名："));
    dialog.setLabelText(QFileDialog::FileType, QStringLiteral("保存类型："));
    dialog.setLabelText(QFileDialog::Accept, QStringLiteral("保存(&S)"));
    dialog.setLabelText(QFileDialog::Reject, QStringLiteral("取消"));
    if (!request.fileName.isEmpty()) dialog.selectFile(request.fileName);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return QString();
    return dialog.selectedFiles().first();
}

void SetSaveFileHandler(SaveFileHandler handler) { FileHandler() = std::move(handler); }

bool RunColorDialog(QWidget* parent, QColor& color) {
    if (ColourHandler()) return ColourHandler()(parent, color);
    const QColor chosen = QColorDialog::getColor(color, parent);
    if (!chosen.isValid()) return false;
    color = chosen;
    return true;
}

void SetColorHandler(ColorHandler handler) { ColourHandler() = std::move(handler); }

bool TSaveDialog::Execute() {
    TSaveFileRequest request;
    request.parent = qobject_cast<QWidget*>(parent());
    request.title = Title;
    request.filter = Filter;
    request.defaultExt = DefaultExt;
    request.fileName = FileName;
    QString path = RunSaveFileDialog(request);
    if (path.isEmpty()) return false;
    if (!DefaultExt.isEmpty() && QFileInfo(path).suffix().isEmpty()) path += '.' + DefaultExt;
    FileName = path;
    return true;
}

bool TColorDialog::Execute() {
    QColor chosen = Color;
    if (!RunColorDialog(qobject_cast<QWidget*>(parent()), chosen)) return false;
    Color = chosen;
    return true;
}

bool InstallQtTranslations(QCoreApplication& app, const QString& folder) {
    const QString dir =
        folder.isEmpty() ? QLibraryInfo::path(QLibraryInfo::TranslationsPath) : folder;
    const QLocale chinese(QLocale::Chinese, QLocale::China);
    // qtbase holds the texts of the widgets and dialogs; "qt" is the meta catalogue that
    // pulls in the other modules' texts where they are installed.
    bool loaded = false;
    for (const char* catalogue : {"qtbase", "qt"}) {
        auto* translator = new QTranslator(&app);
        if (translator->load(chinese, QString::fromLatin1(catalogue), QStringLiteral("_"), dir)) {
            QCoreApplication::installTranslator(translator);
            loaded = true;
        } else {
            delete translator;
        }
    }
    return loaded;
}
