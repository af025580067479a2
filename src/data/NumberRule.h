#pragma once
// What a number field of a window may hold, and the message that refuses anything else.
// Every window checks its number fields through these rules (ui/UiChecks.h for
// controls), so a value that is not a number, or is out of the field's range, is
// refused with a message before anything is stored.

#include <QString>

// A finite number from min (excluded when minExclusive) up to max, a whole number when
// whole is set. The default suits most fields: lengths, margins, prices, from 0 up to
// ten million.
struct TNumberRule {
    double min = 0;
    bool minExclusive = false;
    double max = 1e7;
    bool whole = false;
};
// Sizes where zero makes no sense.
inline constexpr TNumberRule kPositiveNumber{0, true, 1e7, false};
// Whole millimetres from 0 (margins, offsets).
inline constexpr TNumberRule kWholeNumber{0, false, 1e7, true};
// How many of a thing: a whole number from 1.
inline constexpr TNumberRule kPieceCount{0, true, 1e6, true};

// Empty when the trimmed text is a number the rule allows (its value then in *value);
// otherwise the message that says why not: "不能为空！" for an empty text, "数字非法！"
// for one that is not a finite number ("abc", "1e309", "inf"), and a message naming the
// limit for one out of range or not whole.
QString NumberRuleMessage(const QString& text, const TNumberRule& rule, double* value = nullptr);

// CheckNumberText (UnitData.h) with a rule: true when the trimmed text is a number the
// rule allows; false silently when empty; otherwise its message through the data
// module's prompt and false. CheckNumberText(text) uses the default rule.
bool CheckNumberText(const QString& text, const TNumberRule& rule);
