#include "ui/orders/USetings.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

#include "data/UnitData.h"
#include "data/UnitDataEngine.h"
#include "ui/UiChecks.h"
#include "ui/UiPlatform.h"
#include "ui/orders/UDbConnect.h"

namespace {
struct TFeeField {
    const char* column;
    const char* caption;
};
const TFeeField kFees[] = {{"JGF", "加工费："}, {"AZF", "安装费："}, {"JXF", "机械费："},
                           {"SDF", "水电费："}, {"YSF", "运输费："}, {"GLF", "管理费："},
                           {"QTF", "其他："}};

// The number fields of the system page: control, column, what it may hold.
struct TSysNumber {
    const char* control;
    const char* column;
    const char* caption;
    TNumberRule rule;
    const char* unit;
};
const TSysNumber kSysNumbers[] = {
    {"txtBlade", "blade", "板材切割刀口损耗：", {0, false, 50, false}, "毫米"},
    {"txtTrimT", "trimT", "板材上边修边：", {0, false, 1000, true}, "毫米"},
    {"txtTrimB", "trimB", "板材下边修边：", {0, false, 1000, true}, "毫米"},
    {"txtTrimL", "trimL", "板材左边修边：", {0, false, 1000, true}, "毫米"},
    {"txtTrimR", "trimR", "板材右边修边：", {0, false, 1000, true}, "毫米"},
    {"txtMinOffL", "minOffL", "余料最小长度：", {0, true, 100000, false}, "毫米"},
    {"txtMinOffW", "minOffW", "余料最小宽度：", {0, true, 100000, false}, "毫米"},
    // Whole seconds, from one second up to an hour per material.
    {"txtDeepSec", "deepSec", "深度计算时限(秒)：", {0, true, 3600, true}, ""},
};

QHBoxLayout* ButtonRow(QPushButton* ok, QPushButton* close) {
    auto* row = new QHBoxLayout;
    row->addStretch();
    row->addWidget(ok);
    row->addWidget(close);
    return row;
}
}  // namespace

TfrmSettings::TfrmSettings(QWidget* parent) : QDialog(parent) {
    setObjectName("frmSettings");
    setWindowTitle(QStringLiteral("系统设置"));
    pcSet = new QTabWidget(this);
    pcSet->setObjectName("pcSet");

    // System parameters.
    tabSys = new QWidget(pcSet);
    tabSys->setObjectName("tabSys");
    pcSet->addTab(tabSys, QStringLiteral("系统参数"));
    txtBlade = new QLineEdit(QStringLiteral("5"), tabSys);
    txtBlade->setObjectName("txtBlade");
    cbJQD = new QComboBox(tabSys);
    cbJQD->setObjectName("cbJQD");
    cbJQD->addItems({QStringLiteral("保留一位小数"), QStringLiteral("四舍五入(取整)"),
                     QStringLiteral("舍掉小数(取整)")});
    cbJQD->setCurrentIndex(0);
    cbOpt1 = new QComboBox(tabSys);
    cbOpt1->setObjectName("cbOpt1");
    cbOpt1->addItems(
        {QStringLiteral("快速优化"), QStringLiteral("常规优化"), QStringLiteral("深度计算")});
    txtCmpName = new QLineEdit(tabSys);
    txtCmpName->setObjectName("txtCmpName");
    QLineEdit** marginEdits[] = {&txtTrimT,   &txtTrimB,   &txtTrimL,  &txtTrimR,
                                 &txtMinOffL, &txtMinOffW, &txtDeepSec};
    const char* const marginDefaults[] = {"0", "0", "0", "0", "300", "100", "10"};
    static_assert(std::size(marginEdits) + 1 == std::size(kSysNumbers));
    for (int i = 0; i < int(std::size(marginEdits)); ++i) {
        *marginEdits[i] = new QLineEdit(QString::fromLatin1(marginDefaults[i]), tabSys);
        (*marginEdits[i])->setObjectName(QString::fromLatin1(kSysNumbers[i + 1].control));
    }
    auto* sysGrid = new QGridLayout;
    const std::pair<const char*, QWidget*> sysRows[] = {{"板材切割刀口损耗：", txtBlade},
                                                        {"板材尺寸的精确度：", cbJQD},
                                                        {"单种板材优化计算时间：", cbOpt1},
                                                        {"单位名称：", txtCmpName}};
    int row = 0;
    for (const auto& [caption, control] : sysRows) {
        sysGrid->addWidget(new QLabel(QString::fromUtf8(caption), tabSys), row, 0, Qt::AlignRight);
        sysGrid->addWidget(control, row, 1);
        ++row;
    }
    for (int i = 1; i < int(std::size(kSysNumbers)); ++i) {
        sysGrid->addWidget(new QLabel(QString::fromUtf8(kSysNumbers[i].caption), tabSys), row, 0,
                           Qt::AlignRight);
        sysGrid->addWidget(*marginEdits[i - 1], row, 1);
        sysGrid->addWidget(new QLabel(QString::fromUtf8(kSysNumbers[i].unit), tabSys), row, 2);
        ++row;
    }
    sysGrid->setColumnStretch(1, 1);
    btnSysOK = new QPushButton(QStringLiteral("确定(&O)"), tabSys);
    btnSysOK->setObjectName("btnSysOK");
    btnSysOK->setDefault(true);
    btnSysClose = new QPushButton(QStringLiteral("关闭(&C)"), tabSys);
    btnSysClose->setObjectName("btnSysClose");
    btnDbConnect = new QPushButton(QStringLiteral("数据库连接(&D)..."), tabSys);
    btnDbConnect->setObjectName("btnDbConnect");
    auto* sysLayout = new QVBoxLayout(tabSys);
    sysLayout->addLayout(sysGrid);
    sysLayout->addStretch();
    QHBoxLayout* sysButtons = ButtonRow(btnSysOK, btnSysClose);
    sysButtons->insertWidget(0, btnDbConnect);
    sysLayout->addLayout(sysButtons);

    // Fees.
    tabFee = new QWidget(pcSet);
    tabFee->setObjectName("tabFee");
    pcSet->addTab(tabFee, QStringLiteral("费用设置"));
    QLineEdit** feeEdits[] = {&txtJGF, &txtAZF, &txtJXF, &txtSDF, &txtYSF, &txtGLF, &txtQTF};
    auto* feeGrid = new QGridLayout;
    row = 0;
    for (const TFeeField& fee : kFees) {
        QLineEdit* edit = new QLineEdit(tabFee);
        edit->setObjectName(QStringLiteral("txt") + QString::fromLatin1(fee.column));
        *feeEdits[row] = edit;
        feeGrid->addWidget(new QLabel(QString::fromUtf8(fee.caption), tabFee), row, 0,
                           Qt::AlignRight);
        feeGrid->addWidget(edit, row, 1);
        feeGrid->addWidget(new QLabel(QStringLiteral("元/㎡    "), tabFee), row, 2);
        ++row;
    }
    feeGrid->setColumnStretch(1, 1);
    btnFeeOK = new QPushButton(QStringLiteral("确定(&O)"), tabFee);
    btnFeeOK->setObjectName("btnFeeOK");
    btnFeeOK->setDefault(true);
    btnFeeClose = new QPushButton(QStringLiteral("关闭(&C)"), tabFee);
    btnFeeClose->setObjectName("btnFeeClose");
    auto* feeLayout = new QVBoxLayout(tabFee);
    feeLayout->addLayout(feeGrid);
    feeLayout->addStretch();
    feeLayout->addLayout(ButtonRow(btnFeeOK, btnFeeClose));

    pcSet->setCurrentWidget(tabSys);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(pcSet);
    resize(420, 360);

    connect(btnSysOK, &QPushButton::clicked, this, [this] { btnSysOKClick(); });
    connect(btnDbConnect, &QPushButton::clicked, this, [this] { btnDbConnectClick(); });
    connect(btnFeeOK, &QPushButton::clicked, this, [this] { btnFeeOKClick(); });
    connect(btnSysClose, &QPushButton::clicked, this, [this] { btnCloseClick(); });
    connect(btnFeeClose, &QPushButton::clicked, this, [this] { btnCloseClick(); });
}

void TfrmSettings::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    LoadSettings();
}

void TfrmSettings::LoadSettings() {
    QLineEdit* const feeEdits[] = {txtJGF, txtAZF, txtJXF, txtSDF, txtYSF, txtGLF, txtQTF};
    auto fees = OpenQuery(QStringLiteral("SELECT JGF,AZF,JXF,SDF,YSF,GLF,QTF FROM FProFei"));
    while (fees->next()) {
        for (int i = 0; i < 7; ++i)
            feeEdits[i]->setText(FieldText(*fees, QString::fromLatin1(kFees[i].column)));
    }
    auto sys = OpenQuery(QStringLiteral(
        "SELECT cmpName,blade,JQD,OptT1,trimT,trimB,trimL,trimR,minOffL,minOffW,deepSec "
        "FROM FSysSet"));
    if (sys->next()) {
        txtCmpName->setText(FieldText(*sys, "cmpName"));
        for (const TSysNumber& number : kSysNumbers)
            NumberEdit(number.control)->setText(FieldText(*sys, QString::fromLatin1(number.column)));
        // An index outside the lists selects nothing rather than a wrong entry.
        const int jqd = FieldInt(*sys, "JQD");
        const int opt = FieldInt(*sys, "OptT1");
        cbJQD->setCurrentIndex(jqd >= 0 && jqd < cbJQD->count() ? jqd : -1);
        cbOpt1->setCurrentIndex(opt >= 0 && opt < cbOpt1->count() ? opt : -1);
    }
}

QLineEdit* TfrmSettings::NumberEdit(const char* name) const {
    return findChild<QLineEdit*>(QString::fromLatin1(name));
}

void TfrmSettings::btnSysOKClick() {
    // Every number is checked first, so a refused one leaves every setting as it was.
    for (const TSysNumber& number : kSysNumbers)
        if (!CheckNumberField(NumberEdit(number.control), number.rule)) return;
    SetCommonSQL(QStringLiteral(
        "UPDATE FSysSet SET cmpName=:cmpName,blade=:blade,JQD=:JQD,OptT1=:OptT1,trimT=:trimT,"
        "trimB=:trimB,trimL=:trimL,trimR=:trimR,minOffL=:minOffL,minOffW=:minOffW,"
        "deepSec=:deepSec"));
    SetCommonParam("cmpName", txtCmpName->text().trimmed());
    for (const TSysNumber& number : kSysNumbers)
        SetCommonParam(QString::fromLatin1(number.column),
                       NumberEdit(number.control)->text().trimmed());
    SetCommonParam("JQD", QString::number(cbJQD->currentIndex()));
    SetCommonParam("OptT1", QString::number(cbOpt1->currentIndex()));
    if (!ExecCommon()) return;
    ShowInfo(QStringLiteral("保存成功！"));
}

void TfrmSettings::btnFeeOKClick() {
    QLineEdit* const feeEdits[] = {txtJGF, txtAZF, txtJXF, txtSDF, txtYSF, txtGLF, txtQTF};
    for (QLineEdit* edit : feeEdits)
        if (CheckRequiredField(edit, QStringLiteral("不能为空！"))) return;
    for (QLineEdit* edit : feeEdits)
        if (!CheckNumberField(edit)) return;
    SetCommonSQL(QStringLiteral(
        "UPDATE FProFei SET JGF=:JGF,AZF=:AZF,JXF=:JXF,SDF=:SDF,YSF=:YSF,GLF=:GLF,QTF=:QTF"));
    for (int i = 0; i < 7; ++i)
        SetCommonParam(QString::fromLatin1(kFees[i].column), feeEdits[i]->text().trimmed());
    if (!ExecCommon()) return;
    ShowInfo(QStringLiteral("保存成功！"));
    accept();
}

void TfrmSettings::btnCloseClick() { reject(); }

void TfrmSettings::btnDbConnectClick() {
    TfrmDbConnect dialog(this);
    const QString saved = ConfiguredDatabase();
    dialog.SetConnection(saved);
    if (ShowModal(dialog) != QDialog::Accepted) return;
    const QString chosen = dialog.Connection();
    if (chosen == saved) return;
    // The running program keeps its connection: switching databases under open windows
    // would mix two databases' rows.
    SaveConfiguredDatabase(chosen);
    if (DatabaseFromEnvironment())
        ShowInfo(QStringLiteral("数据库连接已保存。环境变量 KELM_DATABASE 已指定数据库，"
                                "取消该变量后才使用保存的连接。"));
    else
        ShowInfo(QStringLiteral("数据库连接已保存，重新启动程序后生效。"));
}
