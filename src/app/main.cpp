// Kelm start-up: wiring only. The data module comes first (its database is created on
// first use when missing), then the main window, maximized, with no order open, and
// the hidden drilling-standard and groove windows.
#include <QIcon>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <cstdio>
#include <cstring>
#include <memory>

#include "app/StartCheck.h"
#include "common/Version.h"
#include "data/UnitData.h"
#include "ui/UiApplication.h"
#include "ui/UiPlatform.h"
#include "ui/UiPrompt.h"
#include "ui/drilling/UKaiCao.h"
#include "ui/drilling/UPZBZ.h"
#include "ui/orders/UDbConnect.h"
#include "ui/orders/UnitMain.h"

namespace {

const char* kUsage =
    "usage: kelm [--version] [--check-start]\n"
    "Starts Kelm, the production program for panel furniture workshops.\n"
    "  --version      prints the version and ends\n"
    "  --check-start  starts as usual, prints one line once the main window stands and\n"
    "                 ends (status 0; 1 when a message box is in the way or no window\n"
    "                 comes up), for checking an installation\n";

bool AsksForHelp(int argc, char** argv) {
    for (int i = 1; i < argc; ++i)
        if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) return true;
    return false;
}

// The program's icon in every size it is drawn at; the window title bar and the task bar
// take it from here, the menu from the installed icon theme.
QIcon KelmIcon() {
    QIcon icon;
    for (int size : {16, 22, 24, 32, 48, 64, 128, 256})
        icon.addFile(QStringLiteral(":/icons/kelm-%1.png").arg(size), QSize(size, size));
    return icon;
}

// Tells that the database cannot be opened and offers the connection window. Returns the
// connection to try next (saved for the next starts too), or a null text to end.
QString AskForAnotherDatabase(const TsysData& data) {
    for (;;) {
        QMessageBox box(QMessageBox::Warning, kPromptCaption,
                        QStringLiteral("连接数据库出现异常情况！\n\n数据库：%1\n%2")
                            .arg(data.DatabasePath(), data.LastError()));
        QPushButton* connectButton =
            box.addButton(QStringLiteral("数据库连接(&D)..."), QMessageBox::AcceptRole);
        QPushButton* retryButton = box.addButton(QStringLiteral("重试(&R)"), QMessageBox::ActionRole);
        box.addButton(QStringLiteral("退出(&X)"), QMessageBox::RejectRole);
        box.setDefaultButton(connectButton);
        box.exec();
        if (box.clickedButton() == retryButton) return DatabaseTargetText(data.Target());
        if (box.clickedButton() != connectButton) return QString();
        TfrmDbConnect dialog;
        dialog.SetConnection(ConfiguredDatabase());
        if (ShowModal(dialog) != QDialog::Accepted) continue;
        const QString chosen = dialog.Connection();
        // KELM_DATABASE decides this run's database; the choice is kept for the starts
        // without it.
        SaveConfiguredDatabase(chosen);
        return chosen.isEmpty() ? TsysData::DefaultDatabasePath() : chosen;
    }
}

}  // namespace

int main(int argc, char** argv) {
    // Answered before the application object, which needs a display.
    if (kelm::AsksForVersion(argc, argv)) {
        kelm::PrintVersion(QStringLiteral("kelm"));
        return 0;
    }
    if (AsksForHelp(argc, argv)) {
        std::fputs(kUsage, stdout);
        return 0;
    }
    // An exception escaping a window is shown and the program goes on.
    TKelmApplication app(argc, argv);
    QApplication::setApplicationName("Kelm");
    QApplication::setApplicationVersion(kelm::VersionNumber());
    // Ties the windows to the menu entry "kelm.desktop" on desktops that match them by name.
    QGuiApplication::setDesktopFileName(QStringLiteral("kelm"));
    QApplication::setWindowIcon(KelmIcon());
    // Qt's own texts (context menus, file dialogs, standard buttons) in Chinese when
    // its translations are installed; in English otherwise.
    InstallQtTranslations(app);

    // The database chosen for this user (KELM_DATABASE, else the saved connection), else
    // the file next to the program.
    auto data = std::make_unique<TsysData>(ConfiguredDatabase());
    TMessageBoxPrompt prompt;

    QWidget* mainWindow = nullptr;
    if (kelm::AsksForStartCheck(argc, argv))
        kelm::ArmStartCheck([&mainWindow] { return mainWindow; },
                            [&data] { return data->DatabasePath(); });
    // A database that cannot be opened is named at once, with the way to choose another,
    // instead of a message on every window that reads it.
    while (!data->Open()) {
        const QString chosen = AskForAnotherDatabase(*data);
        if (chosen.isNull()) return 1;
        data = std::make_unique<TsysData>(chosen);
    }
    data->SetPrompt(&prompt);
    SetSysData(data.get());

    int result = 0;
    {
        TfrmMain frmMain;
        mainWindow = &frmMain;
        // The drilling-standard and groove windows exist from start-up on, hidden.
        TfrmPZBZ frmPZBZ(&frmMain);
        TfrmKaiCao frmKaiCao(&frmMain);
        // Without a window manager (a bare X server) maximizing does nothing, so the
        // window starts on the whole available screen either way.
        if (QScreen* screen = QGuiApplication::primaryScreen())
            frmMain.setGeometry(screen->availableGeometry());
        frmMain.showMaximized();
        result = QApplication::exec();
        mainWindow = nullptr;
    }
    SetSysData(nullptr);
    return result;
}
