#pragma once
// Input checks that take a control: a required text field and a number field. They
// read the control's text (line edits, or multi-line edits) and talk through the data
// module's prompts.

#include <QString>

class QWidget;

// True when the control's trimmed text is empty: the message is shown and the keyboard
// focus moves to the control. False when there is text; callers go on only on false.
bool CheckRequiredField(QWidget* control, const QString& message);

// Empty text: the control gets "0" and the result is false without a message. A
// number: true. Anything else: the control is emptied, "数字非法！" is shown, false.
bool CheckNumberField(QWidget* control);

// The text of an input control (line edit, multi-line edit, or anything with a "text"
// property) and setting it.
QString ControlText(const QWidget* control);
void SetControlText(QWidget* control, const QString& text);
