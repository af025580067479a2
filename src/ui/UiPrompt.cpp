#include "ui/UiPrompt.h"

#include <QAbstractButton>
#include <algorithm>
#include <QApplication>
#include <QFontMetrics>
#include <QGridLayout>
#include <QMessageBox>
#include <QSpacerItem>

namespace {
QWidget* BoxParent(QWidget* given) {
    if (given) return given;
    return QApplication::activeWindow();
}

// The toolkit's own button texts are English unless its translations are installed.
void NameButtons(QMessageBox& box) {
    if (QAbstractButton* ok = box.button(QMessageBox::Ok)) ok->setText(QStringLiteral("确定"));
    if (QAbstractButton* cancel = box.button(QMessageBox::Cancel))
        cancel->setText(QStringLiteral("取消"));
}
}  // namespace

int WidenForCaption(QMessageBox& box) {
    // The title bar font is the window manager's; the application font of the same
    // size is a fair stand-in, with room for the icon and the close, minimise and
    // maximise buttons.
    const int caption = QFontMetrics(QApplication::font()).horizontalAdvance(box.windowTitle());
    const int width = std::max(300, caption * 2 + 160);
    // A message box sizes itself from its layout; a spacer across the bottom row makes
    // that layout at least this wide.
    if (auto* grid = qobject_cast<QGridLayout*>(box.layout()))
        grid->addItem(new QSpacerItem(width, 0, QSizePolicy::Minimum, QSizePolicy::Minimum),
                      grid->rowCount(), 0, 1, grid->columnCount());
    return width;
}

void TMessageBoxPrompt::Info(const QString& text) {
    QMessageBox box(QMessageBox::Information, kPromptCaption, text, QMessageBox::Ok,
                    BoxParent(p_parent));
    NameButtons(box);
    WidenForCaption(box);
    box.exec();
}

bool TMessageBoxPrompt::Confirm(const QString& text) {
    QMessageBox box(QMessageBox::Information, kPromptCaption, text,
                    QMessageBox::Ok | QMessageBox::Cancel, BoxParent(p_parent));
    box.setDefaultButton(QMessageBox::Ok);
    NameButtons(box);
    WidenForCaption(box);
    return box.exec() == QMessageBox::Ok;
}

TSaveAnswer TMessageBoxPrompt::AskSave(const QString& text) {
    QMessageBox box(QMessageBox::Information, kPromptCaption, text,
                    QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel,
                    BoxParent(p_parent));
    box.button(QMessageBox::Save)->setText(QStringLiteral("保存"));
    box.button(QMessageBox::Discard)->setText(QStringLiteral("不保存"));
    box.button(QMessageBox::Cancel)->setText(QStringLiteral("取消"));
    box.setDefaultButton(QMessageBox::Save);
    box.setEscapeButton(QMessageBox::Cancel);
    switch (box.exec()) {
        case QMessageBox::Save:
            return TSaveAnswer::Save;
        case QMessageBox::Discard:
            return TSaveAnswer::Discard;
        default:
            return TSaveAnswer::Cancel;
    }
}
