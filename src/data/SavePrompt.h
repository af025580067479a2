#pragma once
// The three-answer question asked when a window with unsaved work is closed:
// 保存 / 不保存 / 取消. Prompts that can ask it implement TSavePrompt beside TPrompt
// (the program's message boxes and the tests' recorder both do); it goes through the
// prompt installed in the data module like every other message.

#include <QString>

enum class TSaveAnswer { Save, Discard, Cancel };

class TSavePrompt {
  public:
    virtual ~TSavePrompt() = default;
    virtual TSaveAnswer AskSave(const QString& text) = 0;
};

// Asks through the installed prompt. A prompt that offers only OK and Cancel answers
// Save on OK and Cancel otherwise, so nothing is thrown away without the user choosing
// it; with no prompt installed the answer is Cancel (the window stays open).
TSaveAnswer AskSaveChanges(const QString& text);
