// Input checks that take a control: required fields and number fields.
#include <QApplication>
#include <QDialog>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QVBoxLayout>

#include "UiTestSupport.h"
#include "ui/UiChecks.h"

using UiChecksTest = UiTest;

TEST_F(UiChecksTest, RequiredFieldReportsBlankTextAndMovesFocus) {
    QDialog window;
    auto* other = new QLineEdit(&window);
    auto* edit = new QLineEdit(&window);
    auto* layout = new QVBoxLayout(&window);
    layout->addWidget(other);
    layout->addWidget(edit);
    window.show();
    QApplication::setActiveWindow(&window);
    other->setFocus();

    edit->setText("   ");
    EXPECT_TRUE(CheckRequiredField(edit, "请输入名称！"));
    EXPECT_EQ(prompt.infos, QStringList{"请输入名称！"});
    EXPECT_EQ(window.focusWidget(), edit);

    edit->setText(" x ");
    EXPECT_FALSE(CheckRequiredField(edit, "请输入名称！"));
    EXPECT_EQ(prompt.infos.size(), 1);
}

TEST_F(UiChecksTest, RequiredFieldReadsMultiLineEdits) {
    QPlainTextEdit memo;
    EXPECT_TRUE(CheckRequiredField(&memo, "m"));
    memo.setPlainText("a\nb");
    EXPECT_FALSE(CheckRequiredField(&memo, "m"));
}

TEST_F(UiChecksTest, NumberFieldCases) {
    struct Case {
        QString text;
        bool result;
        QString textAfter;
        QString message;  // empty: nothing said
    };
    const Case cases[] = {
        {"", false, "0", ""},  // empty: "0" put in, no message
        {"   ", false, "0", ""},
        {"12.5", true, "12.5", ""},
        {" 3 ", true, " 3 ", ""},  // a number is left as typed
        {"0", true, "0", ""},
        {"1e3", true, "1e3", ""},
        {"12a", false, "", "数字非法！"},  // not a number: emptied
        {"1,5", false, "", "数字非法！"},
        {"1e309", false, "", "数字非法！"},  // beyond any double
        {"inf", false, "", "数字非法！"},
        {"nan", false, "", "数字非法！"},
        {" -3 ", false, " -3 ", "数字不能小于0！"},  // out of range: kept to be mended
        {"1e300", false, "1e300", "数字不能大于10000000！"},
        {"10000001", false, "10000001", "数字不能大于10000000！"},
        {"10000000", true, "10000000", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text.toStdString());
        prompt.infos.clear();
        QLineEdit edit(c.text);
        EXPECT_EQ(CheckNumberField(&edit), c.result);
        EXPECT_EQ(edit.text(), c.textAfter);
        EXPECT_EQ(prompt.infos, c.message.isEmpty() ? QStringList{} : QStringList{c.message});
    }
}

TEST_F(UiChecksTest, NumberFieldFollowsItsRule) {
    struct Case {
        QString text;
        TNumberRule rule;
        QString message;  // empty: accepted
        double value;
    };
    const TNumberRule whole{0, false, 1000, true};
    const Case cases[] = {
        {"18", kPositiveNumber, "", 18},
        {"0", kPositiveNumber, "数字必须大于0！", 0},
        {"0.0", kPositiveNumber, "数字必须大于0！", 0},
        {"", kPositiveNumber, "不能为空！", 0},  // no "0" put in where 0 is refused
        {"-1", kPositiveNumber, "数字必须大于0！", 0},
        {"0.5", kPositiveNumber, "", 0.5},
        {"12", whole, "", 12},
        {"12.5", whole, "请输入整数！", 0},
        {"1001", whole, "数字不能大于1000！", 0},
        {"abc", whole, "数字非法！", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text.toStdString());
        prompt.infos.clear();
        QLineEdit edit(c.text);
        double value = -99;
        EXPECT_EQ(CheckNumberField(&edit, c.rule, &value), c.message.isEmpty());
        EXPECT_EQ(prompt.infos, c.message.isEmpty() ? QStringList{} : QStringList{c.message});
        if (c.message.isEmpty()) {
            EXPECT_EQ(value, c.value);
        } else {
            EXPECT_EQ(value, -99);  // nothing handed back
        }
    }
}

TEST_F(UiChecksTest, EmptyNumberFieldPassesOnSecondAttempt) {
    QLineEdit edit;
    EXPECT_FALSE(CheckNumberField(&edit));
    EXPECT_TRUE(CheckNumberField(&edit));
}
