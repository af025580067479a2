#include "ui/design/USelTkCate.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "data/UnitData.h"
#include "ui/design/UTkCateTree.h"

TfrmSelTkCate::TfrmSelTkCate(QWidget* parent) : QDialog(parent) {
    setObjectName("frmSelTkCate");
    setWindowTitle(QStringLiteral("选择图库类别"));

    PageControl1 = new QTabWidget(this);
    PageControl1->setObjectName("PageControl1");
    tree = new QTreeWidget;
    tree->setObjectName("tree");
    tree->setHeaderHidden(true);
    PageControl1->addTab(tree, QStringLiteral("类别系列"));

    auto* label = new QLabel(QStringLiteral("名称："), this);
    txtName = new QLineEdit(this);
    txtName->setObjectName("txtName");
    Button1 = new QPushButton(QStringLiteral("确定"), this);
    Button1->setObjectName("Button1");
    Button1->setDefault(true);

    auto* row = new QHBoxLayout;
    row->addWidget(label);
    row->addWidget(txtName, 1);
    row->addWidget(Button1);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(PageControl1, 1);
    layout->addLayout(row);
    resize(340, 420);

    connect(Button1, &QPushButton::clicked, this, [this] { Button1Click(); });
}

void TfrmSelTkCate::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    LoadTree();
}

void TfrmSelTkCate::LoadTree() { LoadCategoryTree(tree); }

void TfrmSelTkCate::Button1Click() {
    const QTreeWidgetItem* node = SelectedCategoryNode(tree);
    if (!node) {
        ShowInfo(QStringLiteral("请选择图库类别！"));
        return;
    }
    if (txtName->text().trimmed().isEmpty()) {
        ShowInfo(QStringLiteral("请输入柜体名称！"));
        return;
    }
    tkID = CategoryNodeID(node);
    accept();
}
