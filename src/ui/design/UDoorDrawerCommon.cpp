#include "ui/design/UDoorDrawerCommon.h"

#include <QGridLayout>
#include <QLabel>
#include <QPainter>

QGroupBox* MakeRegionGroup(QWidget* parent, QLineEdit*& w, QLineEdit*& d, QLineEdit*& h,
                           QLineEdit*& z) {
    auto* box = new QGroupBox(QStringLiteral("分格尺寸"), parent);
    auto make = [box](const char* name, bool front) {
        auto* field = new QLineEdit(QStringLiteral("0"), box);
        field->setObjectName(name);
        field->setReadOnly(true);
        field->setMaximumWidth(90);
        field->setStyleSheet(front ? "color:red;font-weight:bold;" : "color:blue;");
        return field;
    };
    w = make("txtRegW", false);
    d = make("txtRegD", false);
    h = make("txtRegH", false);
    z = make("txtRegZ", true);
    auto* grid = new QGridLayout(box);
    grid->addWidget(new QLabel(QStringLiteral("宽："), box), 0, 0);
    grid->addWidget(w, 0, 1);
    grid->addWidget(new QLabel(QStringLiteral("深："), box), 0, 2);
    grid->addWidget(d, 0, 3);
    grid->addWidget(new QLabel(QStringLiteral("高："), box), 1, 0);
    grid->addWidget(h, 1, 1);
    grid->addWidget(new QLabel(QStringLiteral("前距："), box), 1, 2);
    grid->addWidget(z, 1, 3);
    return box;
}

QPixmap DrawerPicture() {
    QPixmap picture(360, 150);
    picture.fill(Qt::white);
    QPainter p(&picture);
    p.setRenderHint(QPainter::Antialiasing);
    QFont font = p.font();
    font.setPixelSize(12);
    p.setFont(font);
    // Front panel, seen from the front.
    p.setBrush(QColor(248, 240, 227));
    p.drawRect(20, 40, 150, 70);
    p.drawText(QRect(20, 40, 150, 70), Qt::AlignCenter, "A");
    p.drawLine(20, 125, 170, 125);
    p.drawText(QRect(20, 125, 150, 18), Qt::AlignCenter, "W");
    p.drawLine(180, 40, 180, 110);
    p.drawText(184, 80, "H");
    // Box from above: front at the bottom, the box set in by E and F.
    p.drawRect(210, 110, 140, 10);
    p.setBrush(QColor(230, 230, 230));
    p.drawRect(225, 20, 110, 90);
    p.drawText(QRect(225, 20, 110, 90), Qt::AlignCenter, "B");
    p.drawText(211, 105, "E");
    p.drawText(338, 105, "F");
    p.drawText(QRect(225, 2, 110, 16), Qt::AlignCenter, "D");
    p.drawText(QRect(210, 124, 140, 18), Qt::AlignCenter, QStringLiteral("M=箱板高"));
    return picture;
}
