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
        bool message;
    };
    const Case cases[] = {
        {"", false, "0", false},  // empty: "0" put in, no message
        {"   ", false, "0", false},
        {"12.5", true, "12.5", false},
        {" -3 ", true, " -3 ", false},  // a number is left as typed
        {"1e3", true, "1e3", false},
        {"12a", false, "", true},  // not a number: emptied, "数字非法！"
        {"1,5", false, "", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text.toStdString());
        prompt.infos.clear();
        QLineEdit edit(c.text);
        EXPECT_EQ(CheckNumberField(&edit), c.result);
        EXPECT_EQ(edit.text(), c.textAfter);
        EXPECT_EQ(prompt.infos, c.message ? QStringList{"数字非法！"} : QStringList{});
    }
}

TEST_F(UiChecksTest, EmptyNumberFieldPassesOnSecondAttempt) {
    QLineEdit edit;
    EXPECT_FALSE(CheckNumberField(&edit));
    EXPECT_TRUE(CheckNumberField(&edit));
}
