// The offcut window on a temp database: the stock per material with its filters and
// sorting, editing and scrapping an offcut, and its labels read back with a barcode reader.

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTreeWidget>

#include "../UiTestSupport.h"
#include "ui/orders/UnitYuLiao.h"

namespace {

QStringList Column(const TfrmYuLiao& w, int column) {
    QStringList out;
    for (int i = 0; i < w.lstYuLiao->topLevelItemCount(); ++i)
        out << w.lstYuLiao->topLevelItem(i)->text(column);
    return out;
}

QString RunTool(const QString& program, const QStringList& args) {
    QProcess p;
    p.start(program, args);
    p.waitForFinished(120000);
    return QString::fromUtf8(p.readAllStandardOutput());
}

}  // namespace

class OffcutWindowTest : public UiTest {
  protected:
    void SetUp() override {
        UiTest::SetUp();
        Exec("INSERT INTO FCl(ylID,cateID,ylCode,ylName,length,width,houdu,color,bz) "
             "VALUES(1,1,'','白橡',2440,1220,18,'',''),(2,1,'','背板',2440,1220,5,'','')");
        AddOrder("240101000001", "A-07", "甲");
        // code, material, length, width, state, remark
        const struct {
            const char* code;
            int yl;
            double l, w;
            int state;
            const char* bz;
        } rows[] = {{"261201080000-1", 1, 1880, 1216, 0, ""},
                    {"261201080000-2", 1, 300, 1000, 0, "边有破损"},
                    {"261201080000-3", 1, 720, 100, 0, ""},
                    {"261202090000-1", 2, 900, 600, 0, ""},
                    {"261202090000-2", 1, 1500, 800, 1, ""},
                    {"261202090000-3", 1, 640, 400, 2, ""}};
        for (const auto& r : rows)
            Exec("INSERT INTO FYuLiao(ofCode,ylID,length,width,proID,pyID,fpbNo,ofDate,state,useProID,bz) "
                 "VALUES(:c,:y,:l,:w,'240101000001',1,2,'2026-12-01',:s,'',:b)",
                 {{"c", r.code},
                  {"y", QString::number(r.yl)},
                  {"l", QString::number(r.l)},
                  {"w", QString::number(r.w)},
                  {"s", QString::number(r.state)},
                  {"b", r.bz}});
    }
    QString Id(const QString& code) {
        auto q = data->OpenQuery("SELECT ofID FROM FYuLiao WHERE ofCode='" + code + "'");
        return q->next() ? q->value(0).toString() : QString();
    }
    void Select(TfrmYuLiao& w, const QString& code) {
        for (int i = 0; i < w.lstYuLiao->topLevelItemCount(); ++i)
            if (w.lstYuLiao->topLevelItem(i)->text(TfrmYuLiao::colCode) == code)
                w.lstYuLiao->setCurrentItem(w.lstYuLiao->topLevelItem(i));
    }
};

TEST_F(OffcutWindowTest, ListsTheStockAndFiltersAndSorts) {
    TfrmYuLiao w;
    EXPECT_EQ(w.windowTitle(), "余料库存");
    EXPECT_EQ(w.cbMaterial->count(), 3);  // 全部材料, then each material by thickness
    EXPECT_EQ(w.cbMaterial->itemText(1), "背板 5mm");
    // In stock only, newest identifier first.
    EXPECT_EQ(Column(w, TfrmYuLiao::colCode),
              (QStringList{"261202090000-1", "261201080000-3", "261201080000-2", "261201080000-1"}));
    EXPECT_EQ(w.lstYuLiao->topLevelItem(0)->text(TfrmYuLiao::colOrder), "A-07");
    EXPECT_EQ(w.lstYuLiao->topLevelItem(0)->text(TfrmYuLiao::colLayout), "图2");
    EXPECT_EQ(w.lblTotal->text(), "在库余料4块，共3.20㎡");

    w.cbMaterial->setCurrentIndex(2);  // 白橡
    EXPECT_EQ(Column(w, TfrmYuLiao::colCode).size(), 3);
    // Sizes sort as numbers, not as text.
    w.lstYuLiao->sortByColumn(TfrmYuLiao::colLength, Qt::AscendingOrder);
    EXPECT_EQ(Column(w, TfrmYuLiao::colLength), (QStringList{"300", "720", "1880"}));
    // At least 600 × 250, either way round: 300 × 1000 turned is 1000 × 300.
    w.txtMinL->setText("600");
    w.txtMinW->setText("250");
    w.LoadOffcuts();
    EXPECT_EQ(Column(w, TfrmYuLiao::colLength), (QStringList{"300", "1880"}));
    w.txtMinL->setText("abc");
    w.LoadOffcuts();
    EXPECT_EQ(prompt.infos.last(), "数字非法！");
    EXPECT_EQ(Column(w, TfrmYuLiao::colLength).size(), 2);  // the list stays as it was
    w.txtMinL->clear();
    w.txtMinW->clear();
    w.txtKey->setText("破损");
    w.LoadOffcuts();
    EXPECT_EQ(Column(w, TfrmYuLiao::colCode), QStringList{"261201080000-2"});
    w.txtKey->clear();
    w.chkAll->setChecked(true);
    const QStringList states = Column(w, TfrmYuLiao::colState);
    EXPECT_EQ(states.size(), 5);
    EXPECT_TRUE(states.contains("已使用"));
    EXPECT_TRUE(states.contains("已报废"));
}

TEST_F(OffcutWindowTest, EditChangesSizeAndRemarkOfAnOffcutInStock) {
    TfrmYuLiao w;
    Select(w, "261201080000-1");
    ExpectModal<TfrmYuLiaoEdit>([this](TfrmYuLiaoEdit& e) {
        EXPECT_EQ(e.txtLength->text(), "1880");
        e.txtLength->setText("0");
        e.btnOKClick();
        EXPECT_FALSE(e.IsOk);
        EXPECT_TRUE(prompt.infos.last().contains("必须大于0")) << prompt.infos.last().toStdString();
        e.txtLength->setText("1870.5");
        e.txtBz->setText("一端切齐");
        e.btnOKClick();
        EXPECT_TRUE(e.IsOk);
    });
    w.btnEditClick();
    EXPECT_TRUE(modalScript.empty());
    EXPECT_EQ(prompt.infos.last(), "修改成功！");
    Select(w, "261201080000-1");
    ASSERT_NE(w.CurrentRow(), nullptr);
    EXPECT_EQ(w.CurrentRow()->length, 1870.5);
    EXPECT_EQ(w.CurrentRow()->bz, "一端切齐");
    // One that is no longer in stock cannot be edited.
    w.chkAll->setChecked(true);
    Select(w, "261202090000-2");
    opened.clear();
    w.btnEditClick();
    EXPECT_TRUE(opened.isEmpty());
    EXPECT_TRUE(prompt.infos.last().contains("已不在库存中"));
}

TEST_F(OffcutWindowTest, ScrappingAsksFirstAndTakesTheOffcutOutOfStock) {
    TfrmYuLiao w;
    Select(w, "261201080000-3");
    prompt.answers = {false};
    w.btnDeleteClick();
    EXPECT_EQ(Count("SELECT count(*) FROM FYuLiao WHERE state=2"), 1);
    EXPECT_TRUE(prompt.confirms.last().contains("261201080000-3")) << prompt.confirms.last().toStdString();
    Select(w, "261201080000-3");
    prompt.answers = {true};
    prompt.infos.clear();
    w.btnDeleteClick();
    EXPECT_TRUE(prompt.infos.isEmpty());  // a deletion is not acknowledged
    EXPECT_EQ(Count("SELECT count(*) FROM FYuLiao WHERE state=2 AND ofCode='261201080000-3'"), 1);
    EXPECT_FALSE(Column(w, TfrmYuLiao::colCode).contains("261201080000-3"));
    // The row stays in the table, so where it went is still known.
    EXPECT_EQ(Count("SELECT count(*) FROM FYuLiao"), 6);
}

TEST_F(OffcutWindowTest, LabelsCarryTheOffcutIdentifierAsBarcode) {
    QTemporaryDir dir;
    TfrmYuLiao w;
    w.cbMaterial->setCurrentIndex(2);  // 白橡: three in stock
    saveAnswer = dir.filePath("余料标签.pdf");
    w.btnLabelsClick();
    ASSERT_EQ(prompt.infos.last(), "余料标签已经保存为：" + saveAnswer);
    RunTool("pdftoppm", {"-r", "300", "-png", saveAnswer, QDir(dir.path()).filePath("page")});
    QStringList codes;
    for (const QString& png : QDir(dir.path()).entryList({"page*.png"}, QDir::Files, QDir::Name))
        codes += RunTool("zbarimg", {"--quiet", "--raw", QDir(dir.path()).filePath(png)})
                     .split('\n', Qt::SkipEmptyParts);
    codes.sort();
    EXPECT_EQ(codes, (QStringList{"261201080000-1", "261201080000-2", "261201080000-3"}));

    // Only the selected ones when some are selected; none when the user cancels.
    Select(w, "261201080000-2");
    ASSERT_EQ(w.LabelRows().size(), 1u);
    EXPECT_EQ(w.LabelRows()[0].ofCode, "261201080000-2");
    saveAnswer.clear();
    prompt.infos.clear();
    w.btnLabelsClick();
    EXPECT_TRUE(prompt.infos.isEmpty());
}
