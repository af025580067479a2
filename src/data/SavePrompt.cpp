#include "data/SavePrompt.h"

#include <QDebug>

#include "data/UnitData.h"

TSaveAnswer AskSaveChanges(const QString& text) {
    TPrompt* prompt = sysData()->Prompt();
    if (auto* three = dynamic_cast<TSavePrompt*>(prompt)) return three->AskSave(text);
    if (prompt) return prompt->Confirm(text) ? TSaveAnswer::Save : TSaveAnswer::Cancel;
    qInfo().noquote() << kPromptCaption << ": (no one to ask, cancelled)" << text;
    return TSaveAnswer::Cancel;
}
