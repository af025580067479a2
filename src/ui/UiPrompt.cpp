#include "ui/UiPrompt.h"

#include <QApplication>
#include <QMessageBox>

namespace {
QWidget* BoxParent(QWidget* given) {
    if (given) return given;
    return QApplication::activeWindow();
}
}  // namespace

void TMessageBoxPrompt::Info(const QString& text) {
    QMessageBox box(QMessageBox::Information, kPromptCaption, text, QMessageBox::Ok,
                    BoxParent(p_parent));
    box.exec();
}

bool TMessageBoxPrompt::Confirm(const QString& text) {
    QMessageBox box(QMessageBox::Information, kPromptCaption, text,
                    QMessageBox::Ok | QMessageBox::Cancel, BoxParent(p_parent));
    box.setDefaultButton(QMessageBox::Ok);
    return box.exec() == QMessageBox::Ok;
}
