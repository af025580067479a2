#include "ui/design/UCustFengB.h"

#include <QComboBox>
#include <QLineEdit>
#include <QSqlQuery>

#include "data/UnitData.h"
#include "ui/UiPlatform.h"
#include "ui/design/UDesign.h"
#include "ui/design/USelTkCate.h"
#include "ui/design/UWinKu.h"
#include "ui/orders/UCustomer.h"
#include "ui/orders/UDataDct.h"

void LoadFengBList(QComboBox* list) {
    list->clear();
    auto query = OpenQuery(QStringLiteral("SELECT itmID,itmName,cateName FROM ysdItem WHERE "
                                          "cateName='") +
                           QStringLiteral("封边") + QStringLiteral("'"));
    while (query->next()) list->addItem(FieldText(*query, "itmName"));
    if (list->count() > 0) list->setCurrentIndex(0);
}

void PickCustomer(QWidget* parent, QLineEdit* custName, QLineEdit* custID) {
    TfrmCustomer customers(parent);
    ShowModal(customers);
    custName->setText(customers.custName);
    custID->setText(customers.custID);
}

void EditFengBDictionary(QWidget* parent, QComboBox* list) {
    TfrmDataDct dictionary(parent);
    ShowModal(dictionary);
    LoadFengBList(list);
}

void InstallDesignLibraryWindows() {
    SetDesignLibraryBrowser([](QWidget* parent) {
        TfrmWinKu browser(parent);
        ShowModal(browser);
        return browser.WinXml;
    });
    SetDesignLibraryCategoryChooser([](QWidget* parent, QString& name) {
        TfrmSelTkCate chooser(parent);
        chooser.txtName->setText(name);
        ShowModal(chooser);
        name = chooser.txtName->text().trimmed();
        return chooser.tkID;
    });
}
