// The settings window: system parameters and fee rates.
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>

#include "../UiTestSupport.h"
#include "cabinet/UDataType.h"
#include "ui/orders/USetings.h"
#include "ui/orders/UnitMainLinks.h"

class SettingsTest : public UiTest {
  protected:
    QStringList FeeTexts(const TfrmSettings& window) {
        QStringList texts;
        for (QLineEdit* e : {window.txtJGF, window.txtAZF, window.txtJXF, window.txtSDF,
                             window.txtYSF, window.txtGLF, window.txtQTF})
            texts << e->text();
        return texts;
    }
};

TEST_F(SettingsTest, ShowingReadsSystemParametersAndTheLastFeeRow) {
    Exec("UPDATE FSysSet SET cmpName='木工坊',blade=3.5,JQD=2,OptT1=1");
    Exec("UPDATE FProFei SET JGF=1,AZF=2,JXF=3,SDF=4,YSF=5,GLF=6,QTF=7.5");
    Exec("INSERT INTO FProFei(JGF,AZF,JXF,SDF,YSF,GLF,QTF) VALUES(10,20,30,40,50,60,70)");
    TfrmSettings window;
    EXPECT_EQ(window.windowTitle(), "系统设置");
    EXPECT_EQ(window.pcSet->currentWidget(), window.tabSys);
    EXPECT_EQ(window.txtBlade->text(), "5");
    EXPECT_EQ(window.cbJQD->currentIndex(), 0);
    window.show();  // reads the tables
    EXPECT_EQ(window.txtCmpName->text(), "木工坊");
    EXPECT_EQ(window.txtBlade->text(), "3.5");
    EXPECT_EQ(window.cbJQD->currentText(), "舍掉小数(取整)");
    EXPECT_EQ(window.cbOpt1->currentText(), "常规优化");
    EXPECT_EQ(FeeTexts(window), (QStringList{"10", "20", "30", "40", "50", "60", "70"}));
    window.hide();
}

TEST_F(SettingsTest, SystemPageStoresAndStaysOpen) {
    TfrmSettings window;
    window.LoadSettings();
    window.txtCmpName->setText(" 新单位 ");
    window.txtBlade->setText(" 4.2 ");
    window.cbJQD->setCurrentIndex(1);
    window.cbOpt1->setCurrentIndex(2);
    window.btnSysOKClick();
    window.btnSysOKClick();
    EXPECT_EQ(prompt.infos, (QStringList{"保存成功！", "保存成功！"}));
    EXPECT_EQ(window.result(), 0);
    const TSysSet set = GetSysSet();
    EXPECT_EQ(set.cmpName, "新单位");
    EXPECT_DOUBLE_EQ(set.Blade, 4.2);
    EXPECT_EQ(set.JQD, 1);
    EXPECT_EQ(set.OptT1, 2);

    // A kerf that is not a number is not stored, and the user hears why.
    prompt.infos.clear();
    window.txtBlade->setText("abc");
    window.btnSysOKClick();
    EXPECT_EQ(prompt.infos, QStringList{"数字非法！"});
    EXPECT_DOUBLE_EQ(GetSysSet().Blade, 4.2);
}

TEST_F(SettingsTest, TrimMarginsAndSmallestOffcutAreShownAndStored) {
    TfrmSettings window;
    window.LoadSettings();
    // A new file holds no trim and keeps offcuts from 300 × 100 mm.
    EXPECT_EQ(window.txtTrimT->text(), "0");
    EXPECT_EQ(window.txtTrimR->text(), "0");
    EXPECT_EQ(window.txtMinOffL->text(), "300");
    EXPECT_EQ(window.txtMinOffW->text(), "100");
    EXPECT_EQ(window.txtDeepSec->text(), "10");  // seconds of 深度计算 per material
    window.txtTrimT->setText("10");
    window.txtTrimB->setText(" 12 ");
    window.txtTrimL->setText("0");
    window.txtTrimR->setText("8");
    window.txtMinOffL->setText("400");
    window.txtMinOffW->setText("150.5");
    window.txtDeepSec->setText("45");
    window.btnSysOKClick();
    EXPECT_EQ(prompt.infos, QStringList{"保存成功！"});
    const TSysSet set = GetSysSet();
    EXPECT_EQ(set.TrimTop, 10);
    EXPECT_EQ(set.TrimBottom, 12);
    EXPECT_EQ(set.TrimLeft, 0);
    EXPECT_EQ(set.TrimRight, 8);
    EXPECT_EQ(set.MinOffcutLength, 400);
    EXPECT_EQ(set.MinOffcutWidth, 150.5);
    EXPECT_EQ(set.DeepSeconds, 45);

    TfrmSettings again;
    again.LoadSettings();
    EXPECT_EQ(again.txtTrimB->text(), "12");
    EXPECT_EQ(again.txtMinOffW->text(), "150.5");
    EXPECT_EQ(again.txtDeepSec->text(), "45");
}

TEST_F(SettingsTest, EveryNumberFieldRefusesWhatIsNoFittingNumberAndStoresNothing) {
    // Values each field refuses; "" is refused everywhere: where 0 makes sense the
    // field shows "0" (a second press stores it), elsewhere it says "不能为空！".
    const char* const refused[] = {"abc", "12x0", "-1", "1e309", "1e12", "nan"};
    const struct Field {
        const char* name;
        bool zeroAllowed;
        const char* good;
    } fields[] = {{"txtBlade", true, "4"},       {"txtTrimT", true, "5"},
                  {"txtTrimB", true, "5"},       {"txtTrimL", true, "5"},
                  {"txtTrimR", true, "5"},       {"txtMinOffL", false, "300"},
                  {"txtMinOffW", false, "100"}, {"txtDeepSec", false, "10"}};
    TfrmSettings window;
    window.LoadSettings();
    const TSysSet before = GetSysSet();
    for (const Field& field : fields) {
        QLineEdit* edit = window.findChild<QLineEdit*>(field.name);
        ASSERT_NE(edit, nullptr) << field.name;
        std::vector<QString> texts(std::begin(refused), std::end(refused));
        texts.push_back("");
        if (!field.zeroAllowed) texts.push_back("0");
        if (QString(field.name).startsWith("txtTrim")) texts.push_back("2.5");  // whole mm
        if (QString(field.name) == "txtDeepSec")  // whole seconds, at most an hour
            texts.insert(texts.end(), {"2.5", "3601"});
        for (const QString& text : texts) {
            SCOPED_TRACE(std::string(field.name) + " \"" + text.toStdString() + "\"");
            prompt.infos.clear();
            edit->setText(text);
            window.btnSysOKClick();
            ASSERT_EQ(prompt.infos.size(), text.isEmpty() && field.zeroAllowed ? 0 : 1);
            EXPECT_NE(prompt.infos.value(0), "保存成功！");
            EXPECT_EQ(GetSysSet(), before);
            edit->setText(field.good);
        }
    }
    // Fees: empty is "不能为空！", the rest as above; nothing reaches the table.
    QLineEdit* const fees[] = {window.txtJGF, window.txtAZF, window.txtJXF, window.txtSDF,
                               window.txtYSF, window.txtGLF, window.txtQTF};
    for (QLineEdit* fee : fees) {
        for (QLineEdit* e : fees) e->setText("8");
        for (const char* text : refused) {
            SCOPED_TRACE(fee->objectName().toStdString() + " " + text);
            prompt.infos.clear();
            fee->setText(text);
            window.btnFeeOKClick();
            ASSERT_EQ(prompt.infos.size(), 1);
            EXPECT_NE(prompt.infos[0], "保存成功！");
            EXPECT_EQ(Count("SELECT COUNT(*) FROM FProFei WHERE JGF=8"), 0);
        }
    }
}

TEST_F(SettingsTest, WithoutSettingsRowNothingIsStoredOrSaid) {
    Exec("DELETE FROM FSysSet");
    Exec("DELETE FROM FProFei");
    TfrmSettings window;
    window.LoadSettings();
    EXPECT_EQ(window.txtBlade->text(), "5");
    EXPECT_EQ(FeeTexts(window), QStringList(7, QString()));
    window.btnSysOKClick();
    for (QLineEdit* e : {window.txtJGF, window.txtAZF, window.txtJXF, window.txtSDF, window.txtYSF,
                         window.txtGLF, window.txtQTF})
        e->setText("1");
    window.btnFeeOKClick();
    EXPECT_TRUE(prompt.infos.isEmpty());
    EXPECT_EQ(window.result(), 0);
}

TEST_F(SettingsTest, FeePageNeedsEveryFeeThenStoresAllRowsAndCloses) {
    Exec("INSERT INTO FProFei(JGF,AZF,JXF,SDF,YSF,GLF,QTF) VALUES(10,20,30,40,50,60,70)");
    TfrmSettings window;
    window.LoadSettings();
    QLineEdit* const edits[] = {window.txtJGF, window.txtAZF, window.txtJXF, window.txtSDF,
                                window.txtYSF, window.txtGLF, window.txtQTF};
    window.show();
    for (QLineEdit* empty : edits) {
        SCOPED_TRACE(empty->objectName().toStdString());
        prompt.infos.clear();
        for (QLineEdit* e : edits) e->setText("8");
        empty->setText(" ");  // a single space counts as empty
        window.pcSet->setCurrentWidget(window.tabFee);
        window.btnFeeOKClick();
        EXPECT_EQ(prompt.infos, QStringList{"不能为空！"});
        EXPECT_EQ(window.focusWidget(), empty);
        EXPECT_EQ(Count("SELECT COUNT(*) FROM FProFei WHERE JGF=8"), 0);
    }
    prompt.infos.clear();
    for (int i = 0; i < 7; ++i) edits[i]->setText(QString::number(i + 1) + " ");
    window.btnFeeOKClick();
    EXPECT_EQ(prompt.infos, QStringList{"保存成功！"});
    EXPECT_EQ(window.result(), int(QDialog::Accepted));
    // Both rows now carry the new rates.
    EXPECT_EQ(Count("SELECT COUNT(*) FROM FProFei WHERE JGF=1 AND AZF=2 AND JXF=3 AND SDF=4 "
                    "AND YSF=5 AND GLF=6 AND QTF=7"),
              2);
}

TEST_F(SettingsTest, CloseStoresNothing) {
    TfrmSettings window;
    window.LoadSettings();
    window.txtCmpName->setText("不存");
    window.btnSysClose->click();
    EXPECT_EQ(window.result(), int(QDialog::Rejected));
    EXPECT_NE(GetSysSet().cmpName, "不存");
}

TEST_F(SettingsTest, MainWindowCommandOpensSettings) {
    ExpectModal<TfrmSettings>(
        [](TfrmSettings& window) { EXPECT_EQ(window.windowTitle(), "系统设置"); });
    OpenSettings(nullptr);
    EXPECT_EQ(opened, QStringList{"TfrmSettings"});
}
