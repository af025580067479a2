#include "ui/UiChecks.h"

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextEdit>
#include <QVariant>

#include "common/NumberFormat.h"
#include "data/UnitData.h"

QString ControlText(const QWidget* control) {
    if (!control) return QString();
    if (auto* edit = qobject_cast<const QLineEdit*>(control)) return edit->text();
    if (auto* plain = qobject_cast<const QPlainTextEdit*>(control)) return plain->toPlainText();
    if (auto* rich = qobject_cast<const QTextEdit*>(control)) return rich->toPlainText();
    return control->property("text").toString();
}

void SetControlText(QWidget* control, const QString& text) {
    if (!control) return;
    if (auto* edit = qobject_cast<QLineEdit*>(control)) return edit->setText(text);
    if (auto* plain = qobject_cast<QPlainTextEdit*>(control)) return plain->setPlainText(text);
    if (auto* rich = qobject_cast<QTextEdit*>(control)) return rich->setPlainText(text);
    control->setProperty("text", text);
}

bool CheckRequiredField(QWidget* control, const QString& message) {
    if (!ControlText(control).trimmed().isEmpty()) return false;
    ShowInfo(message);
    if (control) control->setFocus();
    return true;
}

bool CheckNumberField(QWidget* control, const TNumberRule& rule, double* value) {
    const QString text = ControlText(control).trimmed();
    const bool zeroAllowed = NumberRuleMessage(QStringLiteral("0"), rule).isEmpty();
    if (text.isEmpty() && zeroAllowed) {
        SetControlText(control, QStringLiteral("0"));
        return false;
    }
    const QString message = NumberRuleMessage(text, rule, value);
    if (message.isEmpty()) return true;
    double parsed = 0;
    if (!text.isEmpty() && !kelm::ParseNumber(text, parsed)) SetControlText(control, QString());
    ShowInfo(message);
    if (control) {
        control->setFocus();
        if (auto* edit = qobject_cast<QLineEdit*>(control)) edit->selectAll();
    }
    return false;
}
