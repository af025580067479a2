#include "ui/orders/UnitAbout.h"

#include <QLabel>
#include <QLinearGradient>
#include <QPainter>
#include <QPixmap>
#include <QVBoxLayout>

namespace {
// The about picture is painted rather than shipped as a file, so it needs no resource.
QPixmap AboutPicture() {
    QPixmap picture(420, 240);
    QPainter painter(&picture);
    QLinearGradient sky(0, 0, 0, 240);
    sky.setColorAt(0, QColor(52, 94, 140));
    sky.setColorAt(1, QColor(214, 226, 240));
    painter.fillRect(picture.rect(), sky);
    painter.setPen(Qt::white);
    QFont title = painter.font();
    title.setPointSize(28);
    title.setBold(true);
    painter.setFont(title);
    painter.drawText(QRect(0, 40, 420, 60), Qt::AlignCenter, QStringLiteral("Kelm"));
    QFont sub = painter.font();
    sub.setPointSize(14);
    sub.setBold(false);
    painter.setFont(sub);
    painter.drawText(QRect(0, 110, 420, 30), Qt::AlignCenter,
                     QStringLiteral("板式家具生产管理系统"));
    painter.setPen(QColor(40, 60, 90));
    QFont small = painter.font();
    small.setPointSize(9);
    painter.setFont(small);
    painter.drawText(QRect(0, 200, 410, 30), Qt::AlignRight | Qt::AlignVCenter,
                     QStringLiteral("版本 1.0"));
    return picture;
}
}  // namespace

TfrmAbout::TfrmAbout(QWidget* parent) : QDialog(parent) {
    setObjectName("frmAbout");
    setWindowTitle(QStringLiteral("《Kelm》系列软件"));
    Image1 = new QLabel(this);
    Image1->setObjectName("Image1");
    Image1->setPixmap(AboutPicture());
    Image1->setScaledContents(true);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(Image1);
    setFixedSize(420, 240);
}
