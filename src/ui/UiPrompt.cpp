#include "ui/UiPrompt.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>

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

void TMessageBoxPrompt::Info(const QString& text) {
    QMessageBox box(QMessageBox::Information, kPromptCaption, text, QMessageBox::Ok,
                    BoxParent(p_parent));
    NameButtons(box);
    box.exec();
}

bool TMessageBoxPrompt::Confirm(const QString& text) {
    QMessageBox box(QMessageBox::Information, kPromptCaption, text,
                    QMessageBox::Ok | QMessageBox::Cancel, BoxParent(p_parent));
    box.setDefaultButton(QMessageBox::Ok);
    NameButtons(box);
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
