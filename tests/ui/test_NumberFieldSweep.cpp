// Every number field of the dialogs that take numbers refuses what is no fitting number:
// text, a number glued to text, negatives, zero where zero makes no sense, numbers far
// too large and numbers beyond any double. Each refusal is said in a message, and the
// dialog reports nothing to store. (The materials and settings windows have tables of
// their own in their tests.)
#include <QLineEdit>
#include <functional>

#include "UiTestSupport.h"
#include "ui/design/UChouTi.h"
#include "ui/design/UDKM.h"
#include "ui/design/URegFG.h"
#include "ui/design/USetEdge.h"
#include "ui/drilling/UKWEdit.h"
#include "ui/drilling/UKaiCao.h"
#include "ui/drilling/UPZBZAdd.h"

namespace {

struct Field {
    const char* name;
    bool zeroAllowed;
};

// One dialog under test: makes it with valid values in every field, presses its OK,
// and says whether it handed anything on to be stored.
struct Dialog {
    const char* name;
    std::vector<Field> fields;
    std::function<std::unique_ptr<QDialog>()> make;
    std::function<void(QDialog&)> ok;
    std::function<bool(QDialog&)> handedOn;
};

template <typename T>
Dialog Make(const char* name, std::vector<Field> fields, std::function<bool(T&)> handedOn) {
    return {name, std::move(fields), [] { return std::unique_ptr<QDialog>(new T); },
            [](QDialog& d) { static_cast<T&>(d).btnOKClick(); },
            [handedOn](QDialog& d) { return handedOn(static_cast<T&>(d)); }};
}

}  // namespace

class NumberFieldSweepTest : public UiTest {};

TEST_F(NumberFieldSweepTest, EveryFieldRefusesWithAMessageAndHandsNothingOn) {
    const std::vector<Dialog> dialogs = {
        Make<TfrmPZBZAdd>("drilling rule", {{"txtMin", true}, {"txtMax", true}},
                          [this](TfrmPZBZAdd&) { return Count("SELECT COUNT(*) FROM FPKBZ") > 0; }),
        Make<TfrmKWEdit>("hole", {{"txtX", true}, {"txtY", true}},
                         [](TfrmKWEdit& d) { return d.IsOk; }),
        Make<TfrmKaiCao>("groove",
                         {{"txtBJ", true}, {"txtDJ1", true}, {"txtDJ2", true}, {"txtW", false},
                          {"txtD", false}},
                         [](TfrmKaiCao& d) { return d.isOk; }),
        Make<TfrmRegFG>("region position", {{"txtVal", true}},
                        [](TfrmRegFG& d) { return d.IsOk; }),
        Make<TfrmDkM>("door gaps",
                      {{"txtL", true}, {"txtR", true}, {"txtT", true}, {"txtB", true},
                       {"txtQ", true}},
                      [](TfrmDkM& d) { return d.IsOk; }),
        Make<TfrmSetEdge>("edges",
                          {{"txtL", true}, {"txtR", true}, {"txtQ", true}, {"txtH", true},
                           {"txtT", true}, {"txtB", true}},
                          [](TfrmSetEdge& d) { return d.IsOk; }),
        Make<TfrmChouTi>("drawer",
                         {{"txtWVal", true}, {"txtDVal", false}, {"txtFval", true},
                          {"txtEval", true}, {"txtMval", false}},
                         [](TfrmChouTi& d) { return d.IsOK; }),
    };
    const QStringList refused = {"abc", "12x0", "-1", "-0.5", "1e309", "1e12", "inf"};
    for (const Dialog& dialog : dialogs) {
        for (const Field& field : dialog.fields) {
            QStringList texts = refused;
            texts << "";
            if (!field.zeroAllowed) texts << "0";
            for (const QString& text : texts) {
                SCOPED_TRACE(std::string(dialog.name) + " " + field.name + " \"" +
                             text.toStdString() + "\"");
                auto window = dialog.make();
                // Valid values everywhere, then the one under test.
                for (const Field& other : dialog.fields)
                    window->findChild<QLineEdit*>(other.name)->setText("20");
                if (auto* positions = window->findChild<QLineEdit*>("txtKW"))
                    positions->setText("32,64");
                QLineEdit* edit = window->findChild<QLineEdit*>(field.name);
                ASSERT_NE(edit, nullptr);
                edit->setText(text);
                prompt.infos.clear();
                dialog.ok(*window);
                EXPECT_FALSE(dialog.handedOn(*window));
                if (text.isEmpty() && field.zeroAllowed && prompt.infos.isEmpty()) {
                    // The design's empty field: "0" is put in to be confirmed.
                    EXPECT_EQ(edit->text(), "0");
                } else {
                    ASSERT_FALSE(prompt.infos.isEmpty());
                    const QString first = prompt.infos.first();
                    EXPECT_TRUE(first.startsWith("数字") || first == "不能为空！" || first.startsWith("请输入") ||
                                first == "请检查输入是否有非数字项？")
                        << first.toStdString();
                }
            }
        }
    }
}
