#pragma once
// The program's prompts: message boxes captioned "信息提示" with the information icon;
// an OK button for information, OK and Cancel for confirmations.

#include "data/UnitData.h"

class QWidget;

class TMessageBoxPrompt : public TPrompt {
  public:
    explicit TMessageBoxPrompt(QWidget* parent = nullptr) : p_parent(parent) {}
    void Info(const QString& text) override;
    bool Confirm(const QString& text) override;

  private:
    QWidget* p_parent;
};
