// What every window shows around its own content: Qt's own texts (context menus of text
// fields, standard buttons, file dialogs) in Chinese when Qt's translations are
// installed, message boxes wide enough for their caption, and no control against a
// window's edge.
#include <QAbstractButton>
#include <QAbstractSpinBox>
#include <QApplication>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFile>
#include <QFileDialog>
#include <QFontMetrics>
#include <QLabel>
#include <QLibraryInfo>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QProgressBar>
#include <QToolBar>
#include <QTranslator>
#include <functional>
#include <memory>

#include "UiTestSupport.h"
#include "ui/UiPlatform.h"
#include "ui/UiPrompt.h"
#include "ui/design/UBCR.h"
#include "ui/design/UBeiBan.h"
#include "ui/design/UBkCateAdd.h"
#include "ui/design/UBkCtEdit.h"
#include "ui/design/UBkCtSub.h"
#include "ui/design/UBoardDlg.h"
#include "ui/design/UCeBan.h"
#include "ui/design/UChouTi.h"
#include "ui/design/UClSel.h"
#include "ui/design/UDKM.h"
#include "ui/design/UDesCbs.h"
#include "ui/design/UDesign.h"
#include "ui/design/UDiBan.h"
#include "ui/design/UDingBan.h"
#include "ui/design/UGeBan.h"
#include "ui/design/URegFG.h"
#include "ui/design/USelTkCate.h"
#include "ui/design/USetEdge.h"
#include "ui/design/UShuBan.h"
#include "ui/design/UWinKu.h"
#include "ui/design/UWinSel.h"
#include "ui/drilling/UKWEdit.h"
#include "ui/drilling/UKaiCao.h"
#include "ui/drilling/UPZBZ.h"
#include "ui/drilling/UPZBZAdd.h"
#include "ui/drilling/UPZBZEdit.h"
#include "ui/optimize/UOptBl.h"
#include "ui/orders/UCustAdd.h"
#include "ui/orders/UCustEdit.h"
#include "ui/orders/UCustomer.h"
#include "ui/orders/UDataDct.h"
#include "ui/orders/UItmAdd.h"
#include "ui/orders/UItmEdit.h"
#include "ui/orders/UProAdd.h"
#include "ui/orders/UProEdit.h"
#include "ui/orders/UProjects.h"
#include "ui/orders/USetings.h"
#include "ui/orders/UDbConnect.h"
#include "ui/orders/UnitAbout.h"
#include "ui/orders/UnitBackData.h"
#include "ui/orders/UnitCateAdd.h"
#include "ui/orders/UnitMain.h"
#include "ui/orders/UnitRestoreData.h"
#include "ui/orders/UnitWuLiao.h"
#include "ui/orders/UnitYlAdd.h"
#include "ui/orders/UnitYlEdit.h"

namespace {

using Factory = std::function<std::unique_ptr<QWidget>()>;

template <typename T>
Factory Make() {
    return [] { return std::unique_ptr<QWidget>(new T()); };
}

// Every window of the program, as the program creates it.
const std::vector<std::pair<const char*, Factory>>& Windows() {
    static const std::vector<std::pair<const char*, Factory>> windows = {
        {"TfrmMain", Make<TfrmMain>()},           {"TfrmOptBl", Make<TfrmOptBl>()},
        {"TfrmWinSel", Make<TfrmWinSel>()},       {"TfrmDesCbs", Make<TfrmDesCbs>()},
        {"TfrmDesign", Make<TfrmDesign>()},       {"TfrmWinKu", Make<TfrmWinKu>()},
        {"TfrmRestoreData", Make<TfrmRestoreData>()}, {"TfrmBackData", Make<TfrmBackData>()},
        {"TfrmSettings", Make<TfrmSettings>()},   {"TfrmWuLiao", Make<TfrmWuLiao>()},
        {"TfrmYlAdd", Make<TfrmYlAdd>()},         {"TfrmYlEdit", Make<TfrmYlEdit>()},
        {"TfrmCateAdd", Make<TfrmCateAdd>()},     {"TfrmProjects", Make<TfrmProjects>()},
        {"TfrmProAdd", Make<TfrmProAdd>()},       {"TfrmProEdit", Make<TfrmProEdit>()},
        {"TfrmCustomer", Make<TfrmCustomer>()},   {"TfrmCustAdd", Make<TfrmCustAdd>()},
        {"TfrmCustEdit", Make<TfrmCustEdit>()},   {"TfrmDataDct", Make<TfrmDataDct>()},
        {"TfrmItmAdd", Make<TfrmItmAdd>()},       {"TfrmItmEdit", Make<TfrmItmEdit>()},
        {"TfrmAbout", Make<TfrmAbout>()},         {"TfrmCeBan", Make<TfrmCeBan>()},
        {"TfrmDingBan", Make<TfrmDingBan>()},     {"TfrmDiBan", Make<TfrmDiBan>()},
        {"TfrmBeiBan", Make<TfrmBeiBan>()},       {"TfrmGeBan", Make<TfrmGeBan>()},
        {"TfrmShuBan", Make<TfrmShuBan>()},       {"TfrmBCR", Make<TfrmBCR>()},
        {"TfrmChouTi", Make<TfrmChouTi>()},       {"TfrmDkM", Make<TfrmDkM>()},
        {"TfrmFBSet", Make<TfrmFBSet>()},         {"TfrmSetEdge", Make<TfrmSetEdge>()},
        {"TfrmClSel", Make<TfrmClSel>()},         {"TfrmRegFG", Make<TfrmRegFG>()},
        {"TfrmSelTkCate", Make<TfrmSelTkCate>()}, {"TfrmBkCtSub", Make<TfrmBkCtSub>()},
        {"TfrmBkCtEdit", Make<TfrmBkCtEdit>()},   {"TfrmBkCateAdd", Make<TfrmBkCateAdd>()},
        {"TfrmPZBZ", Make<TfrmPZBZ>()},           {"TfrmPZBZAdd", Make<TfrmPZBZAdd>()},
        {"TfrmPZBZEdit", Make<TfrmPZBZEdit>()},   {"TfrmKWEdit", Make<TfrmKWEdit>()},
        {"TfrmKaiCao", Make<TfrmKaiCao>()},       {"TfrmDbConnect", Make<TfrmDbConnect>()},
    };
    return windows;
}

bool InToolBar(const QWidget* w) {
    for (const QWidget* p = w; p; p = p->parentWidget())
        if (qobject_cast<const QToolBar*>(p)) return true;
    return false;
}

bool HasChinese(const QString& text) {
    for (QChar c : text)
        if (c.unicode() >= 0x4E00 && c.unicode() <= 0x9FFF) return true;
    return false;
}

class WindowTextsTest : public UiTest {};

TEST_F(WindowTextsTest, NoControlTouchesAWindowsEdge) {
    constexpr int kMargin = 4;
    for (const auto& [name, make] : Windows()) {
        SCOPED_TRACE(name);
        std::unique_ptr<QWidget> window = make();
        window->show();
        QApplication::processEvents();
        const QRect inside = window->rect().adjusted(kMargin, kMargin, -kMargin, -kMargin);
        for (QWidget* w : window->findChildren<QWidget*>()) {
            const bool control = qobject_cast<QAbstractButton*>(w) || qobject_cast<QLineEdit*>(w) ||
                                 qobject_cast<QComboBox*>(w) || qobject_cast<QAbstractSpinBox*>(w) ||
                                 qobject_cast<QProgressBar*>(w);
            if (!control || !w->isVisibleTo(window.get()) || InToolBar(w)) continue;
            if (qobject_cast<QLineEdit*>(w) && qobject_cast<QAbstractSpinBox*>(w->parentWidget()))
                continue;  // the spin box's own field
            if (qobject_cast<QComboBox*>(w->parentWidget())) continue;  // its own field
            const QRect r(w->mapTo(window.get(), QPoint(0, 0)), w->size());
            EXPECT_TRUE(inside.contains(r))
                << w->metaObject()->className() << " " << w->objectName().toStdString() << " at "
                << r.x() << "," << r.y() << " " << r.width() << "x" << r.height() << " in "
                << window->width() << "x" << window->height();
        }
        window->close();
    }
    opened.clear();
}

TEST_F(WindowTextsTest, MessageBoxIsWideEnoughForItsCaption) {
    QMessageBox box(QMessageBox::Information, kPromptCaption, QStringLiteral("保存成功！"),
                    QMessageBox::Ok);
    const int least = WidenForCaption(box);
    box.show();
    QApplication::processEvents();
    const int caption = QFontMetrics(QApplication::font()).horizontalAdvance(kPromptCaption);
    EXPECT_GE(least, caption + 150) << "room for the caption and the title bar's buttons";
    EXPECT_GE(box.width(), least);
    box.close();
}

// Qt's translations are installed on the machines the program is built for (the setup
// script installs them); where they are missing the program shows these texts in English.
TEST_F(WindowTextsTest, QtsOwnTextsAreChineseInEveryWindowWhenTranslationsAreInstalled) {
    const QString dir = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    if (!QFile::exists(dir + QStringLiteral("/qtbase_zh_CN.qm")))
        GTEST_SKIP() << "Qt's Chinese translations are not installed in " << dir.toStdString();
    EXPECT_FALSE(InstallQtTranslations(*qApp, QStringLiteral("/nonexistent")));
    ASSERT_TRUE(InstallQtTranslations(*qApp));

    for (const auto& [name, make] : Windows()) {
        SCOPED_TRACE(name);
        std::unique_ptr<QWidget> window = make();
        for (QLineEdit* edit : window->findChildren<QLineEdit*>()) {
            std::unique_ptr<QMenu> menu(edit->createStandardContextMenu());
            for (QAction* action : menu->actions()) {
                if (action->isSeparator()) continue;
                EXPECT_TRUE(HasChinese(action->text()))
                    << edit->objectName().toStdString() << ": " << action->text().toStdString();
            }
        }
        for (QDialogButtonBox* buttons : window->findChildren<QDialogButtonBox*>())
            for (QAbstractButton* b : buttons->buttons())
                EXPECT_TRUE(HasChinese(b->text())) << b->text().toStdString();
    }
    QDialogButtonBox standard(QDialogButtonBox::Ok | QDialogButtonBox::Cancel |
                              QDialogButtonBox::Save | QDialogButtonBox::Open);
    for (QAbstractButton* b : standard.buttons())
        EXPECT_TRUE(HasChinese(b->text())) << b->text().toStdString();
    // The file dialogs' own labels ("Look in", "File name", "Open", "Cancel").
    QFileDialog files;
    files.setOption(QFileDialog::DontUseNativeDialog);
    for (const char* label : {"lookInLabel", "fileNameLabel", "fileTypeLabel"}) {
        auto* l = files.findChild<QLabel*>(label);
        ASSERT_NE(l, nullptr) << label;
        EXPECT_TRUE(HasChinese(l->text())) << label << ": " << l->text().toStdString();
    }
    for (QAbstractButton* b : files.findChild<QDialogButtonBox*>()->buttons())
        EXPECT_TRUE(HasChinese(b->text())) << b->text().toStdString();

    // Leave the other tests of this program as they were.
    for (QTranslator* t : qApp->findChildren<QTranslator*>()) {
        QCoreApplication::removeTranslator(t);
        delete t;
    }
    opened.clear();
}

}  // namespace
