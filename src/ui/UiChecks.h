#pragma once
// Input checks that take a control: a required text field and a number field. They
// read the control's text (line edits, or multi-line edits) and talk through the data
// module's prompts.

#include <QString>

#include "data/NumberRule.h"

class QWidget;

// True when the control's trimmed text is empty: the message is shown and the keyboard
// focus moves to the control. False when there is text; callers go on only on false.
bool CheckRequiredField(QWidget* control, const QString& message);

// True when the control holds a number the rule allows (UnitData.h; by default a
// number from 0 up to ten million), its value then in *value when given.
// Empty text: where the rule allows 0 the control gets "0" and the result is false
// without a message (a second attempt then passes); where it does not, "不能为空！".
// Not a number (text, "1e309", "inf"): the control is emptied and "数字非法！" is shown.
// A number out of the rule's range or not whole: a message naming the limit, the text
// kept and selected. The keyboard focus moves to a refused control.
bool CheckNumberField(QWidget* control, const TNumberRule& rule = TNumberRule(),
                      double* value = nullptr);

// The text of an input control (line edit, multi-line edit, or anything with a "text"
// property) and setting it.
QString ControlText(const QWidget* control);
void SetControlText(QWidget* control, const QString& text);
