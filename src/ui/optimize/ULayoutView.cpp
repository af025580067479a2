#include "ui/optimize/ULayoutView.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QPushButton>
#include <QSplitter>
#include <QSqlQuery>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <QWheelEvent>
#include <cmath>

#include "common/NumberFormat.h"
#include "data/UnitData.h"
#include "documents/UOffcutStore.h"
#include "output/OutputPdf.h"
#include "output/PartLabels.h"
#include "render/QPainterCanvas.h"
#include "reports/UReports.h"
#include "ui/UiPlatform.h"

using namespace kelm::output;

// --- the picture -------------------------------------------------------------------------

TLayoutPicture::TLayoutPicture(QWidget* parent) : QWidget(parent) {
    setObjectName("pbLayout");
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
    setMinimumSize(400, 300);
    setAutoFillBackground(false);
}

void TLayoutPicture::SetPage(const LayoutPage* page) {
    m_page = page;
    m_highlight = -1;
    Fit();
}

void TLayoutPicture::SetHighlight(int element) {
    if (element == m_highlight) return;
    m_highlight = element;
    update();
}

void TLayoutPicture::Fit() {
    m_zoom = 1;
    m_pan = QPointF();
    update();
}

void TLayoutPicture::ZoomBy(double factor, QPointF at) {
    const double zoom = std::clamp(m_zoom * factor, 1.0, 40.0);
    // Keep the point under the cursor where it is.
    const QRect box = DiagramBox();
    const QPointF rel = (at - QPointF(box.topLeft())) / m_zoom;
    m_zoom = zoom;
    m_pan += at - (QPointF(box.topLeft()) + rel * m_zoom);
    update();
}

void TLayoutPicture::PanBy(QPointF delta) {
    m_pan += delta;
    update();
}

QRect TLayoutPicture::DiagramBox() const {
    const QRect fit = rect().adjusted(10, 10, -10, -10);
    return QRect(qRound(fit.left() + m_pan.x()), qRound(fit.top() + m_pan.y()), qRound(fit.width() * m_zoom),
                 qRound(fit.height() * m_zoom));
}

int TLayoutPicture::PartAt(QPoint point) const {
    if (!m_page || !(m_geo.Scale > 0)) return -1;
    const double x = (point.x() - m_geo.X0) / m_geo.Scale;
    const double y = (point.y() - m_geo.Y0) / m_geo.Scale;
    const TD2REleLay& parts = m_page->Layout.EleList;
    for (size_t i = 0; i < parts.size(); ++i)
        if (x >= parts[i].px && x < parts[i].px + parts[i].Length && y >= parts[i].py &&
            y < parts[i].py + parts[i].Width)
            return static_cast<int>(i);
    return -1;
}

void TLayoutPicture::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), QColor(250, 250, 250));
    if (!m_page) return;
    kelm::QPainterCanvas canvas(painter);
    m_geo = DrawLayoutDiagram(canvas, *m_page, DiagramBox(), DiagramOptions{true, m_highlight, 9, true});
}

void TLayoutPicture::wheelEvent(QWheelEvent* e) {
    ZoomBy(e->angleDelta().y() > 0 ? 1.25 : 0.8, e->position());
    e->accept();
}

void TLayoutPicture::mousePressEvent(QMouseEvent* e) {
    if (e->button() == Qt::LeftButton) {
        m_dragging = true;
        m_dragFrom = e->pos();
        const int part = PartAt(e->pos());
        if (part >= 0) emit PartHovered(part);
    }
}

void TLayoutPicture::mouseMoveEvent(QMouseEvent* e) {
    if (m_dragging) {
        PanBy(e->pos() - m_dragFrom);
        m_dragFrom = e->pos();
        return;
    }
    emit PartHovered(PartAt(e->pos()));
}

void TLayoutPicture::mouseReleaseEvent(QMouseEvent*) { m_dragging = false; }

void TLayoutPicture::keyPressEvent(QKeyEvent* e) {
    const QPointF centre = rect().center();
    const double step = 40;
    switch (e->key()) {
        case Qt::Key_Plus:
        case Qt::Key_Equal: ZoomBy(1.25, centre); break;
        case Qt::Key_Minus: ZoomBy(0.8, centre); break;
        case Qt::Key_0: Fit(); break;
        case Qt::Key_Left: PanBy({step, 0}); break;
        case Qt::Key_Right: PanBy({-step, 0}); break;
        case Qt::Key_Up: PanBy({0, step}); break;
        case Qt::Key_Down: PanBy({0, -step}); break;
        default: QWidget::keyPressEvent(e); return;
    }
}

// --- the window ----------------------------------------------------------------------------

namespace {

QString Percent(double ratio) { return kelm::FormatPattern(100.0 * ratio, "0.0%"); }

double Utilisation(const TD2RSchame& s) {
    double parts = 0, raw = 0;
    for (const TD2RGene& g : s) {
        parts += g.EleArea * g.RawCount;
        raw += g.RawLength * g.RawWidth * g.RawCount;
    }
    return raw > 0 ? parts / raw : 0;
}

int Sheets(const TD2RSchame& s) {
    int n = 0;
    for (const TD2RGene& g : s) n += g.RawCount;
    return n;
}

QPushButton* Button(QWidget* parent, const char* name, const QString& text) {
    auto* b = new QPushButton(text, parent);
    b->setObjectName(name);
    return b;
}

}  // namespace

TfrmLayoutView::TfrmLayoutView(const QString& proID_, QWidget* parent) : QDialog(parent), proID(proID_) {
    setObjectName("frmLayoutView");
    setWindowTitle(QStringLiteral("开料图"));
    resize(1100, 720);
    BuildControls();
    LoadLayouts();
}

void TfrmLayoutView::BuildControls() {
    auto* root = new QVBoxLayout(this);
    auto* split = new QSplitter(Qt::Horizontal, this);
    tvLayouts = new QTreeWidget(split);
    tvLayouts->setObjectName("tvLayouts");
    tvLayouts->setHeaderLabels({QStringLiteral("排样"), QStringLiteral("张数"), QStringLiteral("利用率")});
    tvLayouts->header()->setSectionResizeMode(0, QHeaderView::Stretch);
    tvLayouts->header()->setSectionResizeMode(1, QHeaderView::ResizeToContents);
    tvLayouts->header()->setSectionResizeMode(2, QHeaderView::ResizeToContents);
    tvLayouts->setMinimumWidth(330);
    pbLayout = new TLayoutPicture(split);
    split->addWidget(tvLayouts);
    split->addWidget(pbLayout);
    split->setStretchFactor(1, 1);
    root->addWidget(split, 1);

    lblSummary = new QLabel(this);
    lblSummary->setObjectName("lblSummary");
    lblPart = new QLabel(QStringLiteral("将鼠标移到板件上查看其柜体、位置和封边。滚轮或 +/- 缩放，拖动或方向键平移，0 复原。"), this);
    lblPart->setObjectName("lblPart");
    lblPart->setWordWrap(true);
    root->addWidget(lblSummary);
    root->addWidget(lblPart);

    auto* row = new QHBoxLayout();
    cbPaper = new QComboBox(this);
    cbPaper->setObjectName("cbPaper");
    cbPaper->addItems({QStringLiteral("A4 横向"), QStringLiteral("A3 横向")});
    cbLabelSize = new QComboBox(this);
    cbLabelSize->setObjectName("cbLabelSize");
    cbLabelSize->addItems({QStringLiteral("100×60"), QStringLiteral("80×50"), QStringLiteral("60×40"),
                           QStringLiteral("A4 3×8")});
    cbBarcode = new QComboBox(this);
    cbBarcode->setObjectName("cbBarcode");
    cbBarcode->addItems({QStringLiteral("Code 128"), QStringLiteral("QR 码")});
    btnPrint = Button(this, "btnPrint", QStringLiteral("打印..."));
    btnPreview = Button(this, "btnPreview", QStringLiteral("打印预览"));
    btnPdf = Button(this, "btnPdf", QStringLiteral("导出PDF"));
    btnLabels = Button(this, "btnLabels", QStringLiteral("板件标签"));
    btnXls = Button(this, "btnXls", QStringLiteral("Excel报表"));
    btnPanelPdf = Button(this, "btnPanelPdf", QStringLiteral("板件清单PDF"));
    btnClose = Button(this, "btnClose", QStringLiteral("关闭"));
    row->addWidget(new QLabel(QStringLiteral("纸张："), this));
    row->addWidget(cbPaper);
    row->addWidget(btnPrint);
    row->addWidget(btnPreview);
    row->addWidget(btnPdf);
    row->addSpacing(16);
    row->addWidget(new QLabel(QStringLiteral("标签："), this));
    row->addWidget(cbLabelSize);
    row->addWidget(cbBarcode);
    row->addWidget(btnLabels);
    row->addSpacing(16);
    row->addWidget(btnXls);
    row->addWidget(btnPanelPdf);
    row->addStretch(1);
    row->addWidget(btnClose);
    root->addLayout(row);

    connect(tvLayouts, &QTreeWidget::currentItemChanged, this, [this] { tvLayoutsChange(); });
    connect(pbLayout, &TLayoutPicture::PartHovered, this, [this](int e) { PartHovered(e); });
    connect(btnPrint, &QPushButton::clicked, this, [this] { btnPrintClick(); });
    connect(btnPreview, &QPushButton::clicked, this, [this] { btnPreviewClick(); });
    connect(btnPdf, &QPushButton::clicked, this, [this] { btnPdfClick(); });
    connect(btnLabels, &QPushButton::clicked, this, [this] { btnLabelsClick(); });
    connect(btnXls, &QPushButton::clicked, this, [this] { btnXlsClick(); });
    connect(btnPanelPdf, &QPushButton::clicked, this, [this] { btnPanelPdfClick(); });
    connect(btnClose, &QPushButton::clicked, this, &QDialog::accept);
}

void TfrmLayoutView::LoadLayouts() {
    order = FindOrder(proID).value_or(OrderInfo{proID, {}, {}, {}});
    QStringList problems;
    layouts = LoadStoredLayouts(proID, &problems);
    pages = OrderPages(order, layouts);
    FillTree();
    if (!problems.isEmpty()) ShowInfo(problems.join('\n'));
}

void TfrmLayoutView::FillTree() {
    tvLayouts->clear();
    int page = 0;
    for (const StoredLayout& s : layouts) {
        auto* material = new QTreeWidgetItem(tvLayouts);
        material->setText(0, s.ylName.isEmpty() ? QStringLiteral("材料 ") + s.bcID : s.ylName);
        material->setText(1, QString::number(Sheets(s.schame)));
        material->setText(2, Percent(Utilisation(s.schame)));
        material->setData(0, Qt::UserRole, -1);
        for (const TD2RGene& g : s.schame) {
            auto* item = new QTreeWidgetItem(material);
            QString text = QStringLiteral("图%1  %2").arg(page + 1).arg(SizeText(g.RawLength, g.RawWidth));
            if (!g.Offcut.isEmpty()) text += QStringLiteral("  余料%1").arg(g.Offcut);
            if (pages[page].Outdated) text += QStringLiteral("（已过期）");
            item->setText(0, text);
            item->setText(1, QString::number(g.RawCount));
            const double area = g.RawLength * g.RawWidth;
            item->setText(2, Percent(area > 0 ? g.EleArea / area : 0));
            item->setData(0, Qt::UserRole, page);
            ++page;
        }
        material->setExpanded(true);
    }
    const SawWork work = OrderSawWork(pages);
    int sheets = 0;
    for (const StoredLayout& s : layouts) sheets += Sheets(s.schame);
    if (layouts.empty()) {
        lblSummary->setText(QStringLiteral("本订单还没有排样方案，请先进行板材开料优化。"));
    } else {
        lblSummary->setText(QStringLiteral("订单 ") + order.Title() +
                            QStringLiteral("：%1种材料，%2个排样，共%3张板；锯切%4刀，总长%5米")
                                .arg(layouts.size())
                                .arg(pages.size())
                                .arg(sheets)
                                .arg(work.Cuts)
                                .arg(kelm::FormatPattern(work.Length / 1000, "0.0")) +
                            // Confirmed layouts are what went to the saw; a new optimization
                            // asks before it replaces them.
                            (TOffcutStore().IsCut(proID) ? QStringLiteral("（已开料）") : QString()));
    }
    for (QPushButton* b : {btnPrint, btnPreview, btnPdf, btnLabels, btnXls}) b->setEnabled(!layouts.empty());
    if (tvLayouts->topLevelItemCount() > 0 && tvLayouts->topLevelItem(0)->childCount() > 0)
        tvLayouts->setCurrentItem(tvLayouts->topLevelItem(0)->child(0));
    else
        pbLayout->SetPage(nullptr);
}

int TfrmLayoutView::CurrentPage() const {
    const QTreeWidgetItem* item = tvLayouts->currentItem();
    if (!item) return -1;
    const int page = item->data(0, Qt::UserRole).toInt();
    if (page >= 0) return page;
    return item->childCount() > 0 ? item->child(0)->data(0, Qt::UserRole).toInt() : -1;
}

void TfrmLayoutView::tvLayoutsChange() {
    const int page = CurrentPage();
    pbLayout->SetPage(page >= 0 && page < static_cast<int>(pages.size()) ? &pages[page] : nullptr);
}

QString TfrmLayoutView::PartText(const TRectEle& e) const {
    QString text = QStringLiteral("%1  %2").arg(e.Name, SizeText(e.Length, e.Width));
    // The order's panels of that name and size: cabinet, position code and banding.
    QSqlQuery q(sysData()->Database());
    q.prepare("SELECT p.gtName AS gtName, w.winCode AS winCode, w.FengB AS FengB, p.clCount AS clCount "
              "FROM FProCl p LEFT JOIN FProWins w ON w.winID = p.winID WHERE p.proID=:p AND p.clName=:n AND "
              "((p.length=:l1 AND p.width=:w1) OR (p.length=:w2 AND p.width=:l2)) ORDER BY p.ID");
    q.bindValue(":p", proID);
    q.bindValue(":n", e.Name);
    q.bindValue(":l1", e.Length);
    q.bindValue(":w1", e.Width);
    q.bindValue(":l2", e.Length);
    q.bindValue(":w2", e.Width);
    QStringList where;
    if (q.exec())
        while (q.next() && where.size() < 6) {
            QString w = QStringLiteral("柜体：%1  位置：%2  数量：%3")
                            .arg(FieldText(q, "gtName"), FieldText(q, "winCode"), FieldText(q, "clCount"));
            if (!FieldText(q, "FengB").isEmpty()) w += QStringLiteral("  封边：") + FieldText(q, "FengB");
            where << w;
        }
    if (where.isEmpty()) where << QStringLiteral("（订单中已没有这个板件）");
    return text + "\n" + where.join("\n");
}

void TfrmLayoutView::PartHovered(int element) {
    pbLayout->SetHighlight(element);
    const int page = CurrentPage();
    if (element < 0 || page < 0) return;
    const TD2REleLay& parts = pages[page].Layout.EleList;
    if (static_cast<size_t>(element) >= parts.size()) return;
    lblPart->setText(PartText(parts[element]));
}

void TfrmLayoutView::btnPrintClick() {
    QPrinter printer(QPrinter::HighResolution);
    QPrintDialog dialog(&printer, this);
    dialog.setWindowTitle(QStringLiteral("打印开料图"));
    if (ShowModal(dialog) != QDialog::Accepted) return;
    if (!PaintLayoutPages(printer, pages, cbPaper->currentIndex() == 1 ? PaperSize::A3 : PaperSize::A4))
        ShowInfo(QStringLiteral("打印机无法打印开料图！"));
}

void TfrmLayoutView::btnPreviewClick() {
    QPrinter printer(QPrinter::HighResolution);
    QPrintPreviewDialog preview(&printer, this);
    preview.setWindowTitle(QStringLiteral("开料图打印预览"));
    const PaperSize paper = cbPaper->currentIndex() == 1 ? PaperSize::A3 : PaperSize::A4;
    connect(&preview, &QPrintPreviewDialog::paintRequested, this,
            [this, paper](QPrinter* p) { PaintLayoutPages(*p, pages, paper); });
    ShowModal(preview);
}

void TfrmLayoutView::btnPdfClick() {
    TSaveFileRequest request{this, QStringLiteral("导出开料图PDF"), "pdf|*.pdf", "pdf",
                             order.Title() + QStringLiteral("_开料图.pdf")};
    const QString path = RunSaveFileDialog(request);
    if (path.isEmpty()) return;
    QString error;
    if (WriteLayoutPdf(path, pages, cbPaper->currentIndex() == 1 ? PaperSize::A3 : PaperSize::A4,
                       QStringLiteral("开料图 ") + order.Title(), &error))
        ShowInfo(QStringLiteral("开料图已经保存为：") + path);
    else
        ShowInfo(QStringLiteral("开料图未能保存为：") + path + "\n" + error);
}

void TfrmLayoutView::btnLabelsClick() {
    TSaveFileRequest request{this, QStringLiteral("导出板件标签PDF"), "pdf|*.pdf", "pdf",
                             order.Title() + QStringLiteral("_标签.pdf")};
    const QString path = RunSaveFileDialog(request);
    if (path.isEmpty()) return;
    const QString stock = LabelStockNames().value(cbLabelSize->currentIndex(), "100x60");
    QString error;
    if (WriteLabelsPdf(path, OrderLabels(order, layouts, pages), *LabelStockByName(stock),
                       cbBarcode->currentIndex() == 1 ? BarcodeKind::QR : BarcodeKind::Code128,
                       QStringLiteral("标签 ") + order.Title(), &error))
        ShowInfo(QStringLiteral("板件标签已经保存为：") + path);
    else
        ShowInfo(QStringLiteral("板件标签未能保存为：") + path + "\n" + error);
}

void TfrmLayoutView::btnXlsClick() {
    TSaveFileRequest request{this, QStringLiteral("[Kelm]报表导出"), "xls|*.xls", "xls", QString()};
    const QString path = RunSaveFileDialog(request);
    if (path.isEmpty()) return;
    ExportCutReport(path, proID);
}

void TfrmLayoutView::btnPanelPdfClick() {
    const TablePages table = PanelListTable(order);
    if (table.Rows.empty()) {
        ShowInfo(QStringLiteral("本订单还没有板件！"));
        return;
    }
    TSaveFileRequest request{this, QStringLiteral("导出板件清单PDF"), "pdf|*.pdf", "pdf",
                             order.Title() + QStringLiteral("_板件清单.pdf")};
    const QString path = RunSaveFileDialog(request);
    if (path.isEmpty()) return;
    QString error;
    if (WriteTablePdf(path, table, &error))
        ShowInfo(QStringLiteral("板件清单已经保存为：") + path);
    else
        ShowInfo(QStringLiteral("板件清单未能保存为：") + path + "\n" + error);
}
