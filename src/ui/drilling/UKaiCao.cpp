#include "ui/drilling/UKaiCao.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "common/NumberFormat.h"
#include "data/UnitData.h"
#include "ui/UiChecks.h"

namespace {
// Side codes in the order of the side list.
const char* const kSides[] = {"T", "B", "L", "R"};
}  // namespace

TfrmKaiCao::TfrmKaiCao(QWidget* parent) : QDialog(parent) {
    setObjectName("frmKaiCao");
    setWindowTitle(QStringLiteral("设置开槽"));

    auto makeEdit = [this](const char* name, const QString& text) {
        auto* edit = new QLineEdit(text, this);
        edit->setObjectName(name);
        return edit;
    };
    cbPS = new QComboBox(this);
    cbPS->setObjectName("cbPS");
    cbPS->addItems({QStringLiteral("靠上"), QStringLiteral("靠下"), QStringLiteral("靠左"),
                    QStringLiteral("靠右")});
    cbPS->setCurrentIndex(0);
    txtBJ = makeEdit("txtBJ", QStringLiteral("0"));
    txtDJ1 = makeEdit("txtDJ1", QStringLiteral("20"));
    txtDJ2 = makeEdit("txtDJ2", QStringLiteral("20"));
    txtW = makeEdit("txtW", QStringLiteral("5"));
    txtD = makeEdit("txtD", QStringLiteral("10"));
    lblDJ1 = new QLabel(QStringLiteral("左端距："), this);
    lblDJ1->setObjectName("lblDJ1");
    lblDJ2 = new QLabel(QStringLiteral("右端距："), this);
    lblDJ2->setObjectName("lblDJ2");

    auto* grid = new QGridLayout;
    auto label = [this](const QString& caption) { return new QLabel(caption, this); };
    grid->addWidget(label(QStringLiteral("位置：")), 0, 0, Qt::AlignRight);
    grid->addWidget(cbPS, 0, 1);
    grid->addWidget(txtBJ, 0, 2);
    grid->addWidget(label(QStringLiteral("毫米")), 0, 3);
    grid->addWidget(lblDJ1, 1, 0, Qt::AlignRight);
    grid->addWidget(txtDJ1, 1, 1, 1, 2);
    grid->addWidget(lblDJ2, 2, 0, Qt::AlignRight);
    grid->addWidget(txtDJ2, 2, 1, 1, 2);
    grid->addWidget(label(QStringLiteral("槽宽：")), 3, 0, Qt::AlignRight);
    grid->addWidget(txtW, 3, 1, 1, 2);
    grid->addWidget(label(QStringLiteral("槽深：")), 4, 0, Qt::AlignRight);
    grid->addWidget(txtD, 4, 1, 1, 2);

    btnOK = new QPushButton(QStringLiteral("确定"), this);
    btnOK->setObjectName("btnOK");
    btnOK->setDefault(true);
    connect(btnOK, &QPushButton::clicked, this, [this] { btnOKClick(); });
    connect(cbPS, &QComboBox::currentIndexChanged, this, [this] { cbPSChange(); });
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(btnOK);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addStretch();
    layout->addLayout(buttons);
    resize(320, 220);
}

void TfrmKaiCao::cbPSChange() {
    const bool upright = cbPS->currentIndex() >= 2;  // "靠左", "靠右"
    lblDJ1->setText(upright ? QStringLiteral("上端距：") : QStringLiteral("左端距："));
    lblDJ2->setText(upright ? QStringLiteral("下端距：") : QStringLiteral("右端距："));
}

void TfrmKaiCao::btnOKClick() {
    FCao result;
    bool numbers = true;
    for (auto [edit, value] :
         {std::pair{txtBJ, &result.BJ}, std::pair{txtDJ1, &result.DJ1},
          std::pair{txtDJ2, &result.DJ2}, std::pair{txtW, &result.W}, std::pair{txtD, &result.D}})
        numbers = kelm::ParseNumber(edit->text(), *value) && numbers;
    if (!numbers) {
        ShowInfo(QStringLiteral("请检查输入是否有非数字项？"));
        return;
    }
    // Distances may be 0; a groove without width or depth is none.
    for (auto [edit, rule] : {std::pair{txtBJ, TNumberRule()}, std::pair{txtDJ1, TNumberRule()},
                              std::pair{txtDJ2, TNumberRule()}, std::pair{txtW, kPositiveNumber},
                              std::pair{txtD, kPositiveNumber}})
        if (!CheckNumberField(edit, rule)) return;
    const int index = cbPS->currentIndex();
    result.PS = QString::fromLatin1(kSides[index >= 0 && index < 4 ? index : 0]);
    cao = result;
    isOk = true;
    accept();
}
