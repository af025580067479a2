// The board, door and drawer dialogs and their shared sub-dialogs on their own: the
// checks of 确定, the spacing and banding fields shown per board kind, the fraction
// calculator, and the material chooser shared between dialogs.
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>

#include "../UiTestSupport.h"
#include "ui/design/UBCR.h"
#include "ui/design/UBeiBan.h"
#include "ui/design/UCeBan.h"
#include "ui/design/UChouTi.h"
#include "ui/design/UClSel.h"
#include "ui/design/UDKM.h"
#include "ui/design/UDiBan.h"
#include "ui/design/UDingBan.h"
#include "ui/design/UGeBan.h"
#include "ui/design/URegFG.h"
#include "ui/design/USetEdge.h"
#include "ui/design/UShuBan.h"

class DesignDialogTest : public UiTest {
  protected:
    void SetUp() override {
        UiTest::SetUp();
        Exec("INSERT INTO FClCls(cateID,cateName) VALUES(1,'板材')");
        Exec("INSERT INTO FClCls(cateID,cateName) VALUES(2,'五金')");
        Exec(
            "INSERT INTO FCl(ylID,cateID,ylCode,ylName,length,width,houdu,color,bz) "
            "VALUES(7,1,'M18','颗粒板',2440,1220,18,'白','')");
        Exec(
            "INSERT INTO FCl(ylID,cateID,ylCode,ylName,length,width,houdu,color,bz) "
            "VALUES(8,1,'M25','多层板',2440,1220,25,'白','')");
    }
    void ExpectMaterialConfirmed(int index = 0) {
        ExpectModal<TfrmClSel>([index](TfrmClSel& chooser) {
            chooser.cbClName->setCurrentIndex(index);
            chooser.cbClNameChange();
            chooser.btnOKClick();
        });
    }
    // Which fields the next spacing / banding dialog shows, as letters L R T B Q H.
    static QString Visible(const TSixFieldDialog& d) {
        QString letters;
        const std::pair<char, QLineEdit*> fields[] = {{'L', d.txtL}, {'R', d.txtR}, {'T', d.txtT},
                                                      {'B', d.txtB}, {'Q', d.txtQ}, {'H', d.txtH}};
        for (const auto& [letter, field] : fields)
            if (!field->isHidden()) letters += QChar(letter);
        return letters;
    }
};

TEST_F(DesignDialogTest, SpacingAndBandingFieldsPerBoardKind) {
    struct Case {
        std::function<TBoardDlgBase*()> make;
        QString caption, name, edge, fb;
    };
    const Case cases[] = {
        {[] { return new TfrmBeiBan; }, "添加背板", "背板", "LRTB", "LRTB"},
        {[] { return new TfrmDingBan; }, "添加顶板", "顶板", "LRQH", "LRQH"},
        {[] { return new TfrmShuBan; }, "添加竖板", "立板", "LRTBQ", "LRTB"},
        {[] { return new TfrmBCR; }, "添加层板", "层板", "LRQH", "LRQH"},
        {[] { return new TfrmGeBan; }, "添加隔板", "隔板", "TBQH", "TBQH"},
        {[] { return new TfrmDiBan; }, "添加底板", "底板", "LRBQH", "LRQH"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.caption.toStdString());
        std::unique_ptr<TBoardDlgBase> dialog(c.make());
        EXPECT_EQ(dialog->windowTitle(), c.caption);
        EXPECT_EQ(dialog->txtName->text(), c.name);
        QString edge, fb;
        modalScript.push_back(
            [&](QDialog& d) { edge = Visible(static_cast<TSixFieldDialog&>(d)); });
        modalScript.push_back([&](QDialog& d) { fb = Visible(static_cast<TSixFieldDialog&>(d)); });
        dialog->btnEdgeClick();
        dialog->btnFBClick();
        EXPECT_EQ(edge, c.edge);
        EXPECT_EQ(fb, c.fb);
        // Closed without 确定: nothing changes.
        EXPECT_EQ(dialog->btnEdge->text(), "分格间距");
        EXPECT_EQ(dialog->btnFB->text(), "封边样式");
    }
}

TEST_F(DesignDialogTest, SideBoardNeedsSideAndShowsOnlyItsSpacings) {
    TfrmCeBan d;
    d.btnEdgeClick();
    d.btnOKClick();
    EXPECT_EQ(prompt.infos, (QStringList{"请选择板件类型！", "请选择是左侧板还是右侧板！"}));
    EXPECT_TRUE(opened.isEmpty());

    d.txtName->setText("手写");
    d.optLeftClick();
    EXPECT_EQ(d.txtName->text(), "左侧板");
    QString visible;
    ExpectModal<TfrmSetEdge>([&](TfrmSetEdge& e) {
        visible = Visible(e);
        e.txtQ->setText("2");
        e.btnOKClick();
    });
    d.btnEdgeClick();
    EXPECT_EQ(visible, "LQH");
    EXPECT_EQ(d.Edge.Q, 2);
    EXPECT_EQ(d.btnEdge->text(), "√分格间距");
    d.optRightClick();
    EXPECT_EQ(d.txtName->text(), "右侧板");
    ExpectModal<TfrmSetEdge>([&](TfrmSetEdge& e) {
        visible = Visible(e);
        EXPECT_EQ(e.txtQ->text(), "2");
    });
    d.btnEdgeClick();
    EXPECT_EQ(visible, "RQH");

    prompt.infos.clear();
    d.btnOKClick();
    EXPECT_EQ(prompt.infos, QStringList{"请选择使用的材料！"});
    EXPECT_FALSE(d.IsOk);
    ExpectMaterialConfirmed(1);
    d.btnSelClick();
    EXPECT_EQ(d.txtClName->text(), "M25/多层板");
    d.btnOKClick();
    EXPECT_TRUE(d.IsOk);
    EXPECT_EQ(d.cbType, "Right");
    EXPECT_EQ(d.Cl, (FCl{"8", "右侧板", 25}));
    EXPECT_EQ(d.WL, "0");
}

TEST_F(DesignDialogTest, BottomBoardSpacingAlwaysOpensWithHundredBelow) {
    TfrmDiBan d;
    ExpectModal<TfrmSetEdge>([](TfrmSetEdge& e) {
        EXPECT_EQ(e.txtB->text(), "100");
        e.txtB->setText("80");
        e.txtL->setText("3");
        e.btnOKClick();
    });
    ExpectModal<TfrmSetEdge>([](TfrmSetEdge& e) {
        EXPECT_EQ(e.txtB->text(), "100");
        EXPECT_EQ(e.txtL->text(), "3");
    });
    d.btnEdgeClick();
    EXPECT_EQ(d.Edge.B, 80);
    d.btnEdgeClick();
    EXPECT_EQ(d.Edge.B, 80);
}

TEST_F(DesignDialogTest, GrainAndShapeAreReadOnConfirm) {
    TfrmDingBan d;
    d.cbWL->setCurrentIndex(2);
    d.cbShape->setCurrentIndex(2);
    ExpectModal<TfrmFBSet>([](TfrmFBSet& f) {
        f.txtQ->setText("1.5");
        f.btnOKClick();
    });
    d.btnFBClick();
    ExpectMaterialConfirmed();
    d.btnSelClick();
    d.btnOKClick();
    EXPECT_TRUE(d.IsOk);
    EXPECT_EQ(d.WL, "2");
    EXPECT_EQ(d.shape, FShape::A4R);
    EXPECT_EQ(d.FB.Q, 1.5);
    EXPECT_EQ(d.btnFB->text(), "√封边样式");
}

TEST_F(DesignDialogTest, SixFieldDialogChecksEveryFieldInOrder) {
    TfrmSetEdge e;
    e.HideField(e.txtT);
    e.txtR->setText("x");
    e.btnOKClick();
    EXPECT_EQ(prompt.infos, QStringList{"数字非法！"});
    EXPECT_EQ(e.txtR->text(), "");
    EXPECT_FALSE(e.IsOk);
    e.btnOKClick();  // the emptied field is refilled silently
    EXPECT_EQ(e.txtR->text(), "0");
    EXPECT_FALSE(e.IsOk);
    e.txtT->setText("bad");  // hidden fields are checked too
    e.btnOKClick();
    EXPECT_FALSE(e.IsOk);
    e.SetValues(1, 2, 3, 4, 5, 6);
    e.btnOKClick();
    EXPECT_TRUE(e.IsOk);
    EXPECT_EQ(e.Edge, (FEdge{1, 2, 3, 4, 5, 6}));
}

TEST_F(DesignDialogTest, FractionCalculatorProposesPositions) {
    struct Case {
        bool partition;
        FRegion reg;
        int fz, fm;
        QString expected;
    };
    const Case cases[] = {
        {false, {0, 0, 600, 700, 0, 0}, 1, 2, "350.0"},
        {false, {0, 0, 600, 700, 0, 0}, 1, 3, "230.3"},
        {false, {0, 0, 600, 700, 0, 0}, 2, 3, "469.7"},
        {false, {0, 100, 600, 800, 0, 0}, 1, 2, "450.0"},
        {true, {50, 0, 650, 700, 0, 0}, 1, 2, "350.0"},
    };
    for (const Case& c : cases) {
        std::unique_ptr<TPosBoardDlgBase> d;
        if (c.partition)
            d.reset(new TfrmGeBan);
        else
            d.reset(new TfrmBCR);
        d->tmpReg = c.reg;
        d->txtY->setText("12.0");
        d->spFM->setValue(c.fm);
        d->spFZ->setValue(c.fz);
        EXPECT_EQ(d->txtY->text(), "12.0") << "no material chosen yet";
        ExpectMaterialConfirmed();
        d->btnSelClick();
        d->spFZChange();
        EXPECT_EQ(d->txtY->text(), c.expected);
    }
}

TEST_F(DesignDialogTest, ShelfPositionMustBeNumber) {
    TfrmBCR d;
    ExpectMaterialConfirmed();
    d.btnSelClick();
    d.txtY->setText("abc");
    d.Button1Click();
    EXPECT_FALSE(d.IsOk);
    EXPECT_EQ(prompt.infos.size(), 1);
    d.txtY->setText("412.5");
    d.Button1Click();
    EXPECT_TRUE(d.IsOk);
    EXPECT_EQ(d.Y, 412.5);
    EXPECT_EQ(d.Button1->objectName(), "Button1");
}

TEST_F(DesignDialogTest, MaterialChooserIsSharedAndCancelChoosesNothing) {
    TClSelHolder holder;
    TfrmBeiBan first;
    first.ClSelHolder = &holder;
    ExpectModal<TfrmClSel>([](TfrmClSel& c) {
        EXPECT_EQ(c.cbClsName->count(), 2);
        EXPECT_EQ(c.cbClName->count(), 2);
        c.cbClName->setCurrentIndex(1);
        c.cbClNameChange();
        c.btnOKClick();
    });
    first.btnSelClick();
    EXPECT_EQ(first.Cl.DbID, "8");

    TfrmDingBan second;
    second.ClSelHolder = &holder;
    ExpectModal<TfrmClSel>([&](TfrmClSel& c) {
        EXPECT_EQ(&c, holder.Existing());
        EXPECT_EQ(c.SelectedText(), "M25/多层板");  // remembers the last choice
    });
    second.btnSelClick();  // closed by its window button
    EXPECT_TRUE(second.txtClName->text().isEmpty());
    EXPECT_TRUE(second.Cl.DbID.isEmpty());

    // A category without materials cannot be confirmed.
    ExpectModal<TfrmClSel>([](TfrmClSel& c) {
        c.cbClsName->setCurrentIndex(1);
        c.cbClsNameChange();
        c.btnOKClick();
    });
    second.btnSelClick();
    EXPECT_EQ(prompt.infos, QStringList{"请选择材料！"});
}

TEST_F(DesignDialogTest, DoorDialog) {
    TfrmDkM d;
    EXPECT_EQ(d.windowTitle(), "添加门");
    d.txtName->setText("门");
    d.txtT->setText("");
    d.btnOKClick();
    EXPECT_EQ(d.txtT->text(), "0");
    d.btnOKClick();
    EXPECT_EQ(prompt.infos, QStringList{"请选择使用的材料！"});
    ExpectMaterialConfirmed();
    d.btnSelClick();
    d.txtQ->setText("3");
    d.btnOKClick();
    ASSERT_TRUE(d.IsOk);
    EXPECT_EQ(d.fm, 2);
    EXPECT_EQ(d.lOrR, "1");
    EXPECT_EQ(d.Cl.Name, "门");
    EXPECT_EQ(d.Edge, (FEdge{0, 0, 0, 0, 3, 0}));

    TfrmDkM right;
    right.cbBFb->setCurrentIndex(1);
    right.RadioButton1Click();
    EXPECT_EQ(right.txtName->text(), "右门扇");
    ExpectMaterialConfirmed();
    right.btnSelClick();
    right.btnOKClick();
    ASSERT_TRUE(right.IsOk);
    EXPECT_EQ(right.fm, 1);
    EXPECT_EQ(right.lOrR, "2");
}

TEST_F(DesignDialogTest, DrawerDialog) {
    TfrmChouTi d;
    d.cbHVal->setCurrentIndex(2);
    ExpectMaterialConfirmed();
    d.btnSelClick();
    d.btnOKClick();
    EXPECT_EQ(prompt.infos, QStringList{"请选择B材料！"});
    EXPECT_FALSE(d.IsOK);
    ExpectMaterialConfirmed(1);
    d.Button1Click();
    d.txtWVal->setText("36.5");
    d.btnOKClick();
    EXPECT_FALSE(d.IsOK);
    EXPECT_EQ(prompt.infos.size(), 2);
    d.txtWVal->setText("36");
    d.txtName->setText(" 抽屉2 ");
    d.btnOKClick();
    ASSERT_TRUE(d.IsOK);
    EXPECT_EQ((std::vector<int>{d.W, d.H, d.D, d.E, d.F, d.M}),
              (std::vector<int>{36, 3, 350, 20, 20, 80}));
    EXPECT_EQ(d.gjName, "抽屉2");
    EXPECT_EQ(d.ACl, (FCl{"7", "", 18}));
    EXPECT_EQ(d.BCl, (FCl{"8", "", 25}));
}

TEST_F(DesignDialogTest, PositionDialog) {
    TfrmRegFG d;
    d.txtVal->setText("");
    d.btnOKClick();
    EXPECT_EQ(d.txtVal->text(), "0");
    EXPECT_FALSE(d.IsOk);
    d.txtVal->setText("z");
    d.btnOKClick();
    EXPECT_EQ(prompt.infos, QStringList{"数字非法！"});
    d.txtVal->setText(" 320.5 ");
    d.btnOKClick();
    EXPECT_TRUE(d.IsOk);
    EXPECT_EQ(d.val, 320.5);
}
