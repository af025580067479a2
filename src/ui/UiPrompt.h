#pragma once
// The program's prompts: message boxes captioned "信息提示" with the information icon;
// an OK button for information, OK and Cancel for confirmations, 保存 / 不保存 / 取消
// when a window with unsaved work closes.

#include "data/SavePrompt.h"
#include "data/UnitData.h"

class QMessageBox;
class QWidget;

// Makes a message box at least wide enough for its whole caption in the title bar
// (window managers cut a caption short, "信…示", when the box is narrower), with room
// for the title bar's buttons. Returns the least width set, in pixels.
int WidenForCaption(QMessageBox& box);

class TMessageBoxPrompt : public TPrompt, public TSavePrompt {
  public:
    explicit TMessageBoxPrompt(QWidget* parent = nullptr) : p_parent(parent) {}
    void Info(const QString& text) override;
    bool Confirm(const QString& text) override;
    // 保存 / 不保存 / 取消; closing the box is 取消.
    TSaveAnswer AskSave(const QString& text) override;

  private:
    QWidget* p_parent;
};
