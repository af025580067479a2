#pragma once
// The layout viewer: the stored layouts of an order, material by material and sheet by
// sheet, with zoom and pan, the panel behind each part on hover or selection, and from
// there the printer (with print dialog and preview), the diagrams' PDF, the part labels
// and the spreadsheet report. Pictures come from the shared page model of the outputs;
// the window itself draws nothing.

#include <QDialog>
#include <QPointF>
#include <QString>
#include <QWidget>
#include <vector>

#include "optimizer/UnitD2RectTypes.h"
#include "output/LayoutPage.h"
#include "output/OrderOutputs.h"

class QComboBox;
class QLabel;
class QPushButton;
class QTreeWidget;

// The diagram of one page, fitted to the widget; wheel or +/- zoom, drag or arrow keys
// pan, 0 fits again. Hovering a part reports its index.
class TLayoutPicture : public QWidget {
    Q_OBJECT
  public:
    explicit TLayoutPicture(QWidget* parent = nullptr);
    void SetPage(const kelm::output::LayoutPage* page);
    void SetHighlight(int element);
    void ZoomBy(double factor, QPointF at);
    void PanBy(QPointF delta);
    void Fit();
    double Zoom() const { return m_zoom; }
    QPointF Pan() const { return m_pan; }
    // Index into the page's EleList of the part under the widget point, -1 none.
    int PartAt(QPoint point) const;

  signals:
    void PartHovered(int element);

  protected:
    void paintEvent(QPaintEvent*) override;
    void wheelEvent(QWheelEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;

  private:
    QRect DiagramBox() const;
    const kelm::output::LayoutPage* m_page = nullptr;
    kelm::output::DiagramGeometry m_geo;
    double m_zoom = 1;
    QPointF m_pan;
    QPoint m_dragFrom;
    bool m_dragging = false;
    int m_highlight = -1;
};

class TfrmLayoutView : public QDialog {
    Q_OBJECT
  public:
    explicit TfrmLayoutView(const QString& proID, QWidget* parent = nullptr);

    QString proID;
    kelm::output::OrderInfo order;
    std::vector<kelm::output::StoredLayout> layouts;
    std::vector<kelm::output::LayoutPage> pages;  // every page of the order, numbered through it

    QTreeWidget* tvLayouts;
    TLayoutPicture* pbLayout;
    QLabel* lblSummary;
    QLabel* lblPart;
    QComboBox* cbPaper;
    QComboBox* cbLabelSize;
    QComboBox* cbBarcode;
    QPushButton* btnPrint;
    QPushButton* btnPreview;
    QPushButton* btnPdf;
    QPushButton* btnLabels;
    QPushButton* btnXls;
    QPushButton* btnPanelPdf;
    QPushButton* btnClose;

    void LoadLayouts();
    void tvLayoutsChange();
    void PartHovered(int element);
    void btnPrintClick();
    void btnPreviewClick();
    void btnPdfClick();
    void btnLabelsClick();
    void btnXlsClick();
    void btnPanelPdfClick();

    // Index into pages of the layout shown, -1 none.
    int CurrentPage() const;

  private:
    void BuildControls();
    void FillTree();
    QString PartText(const TRectEle& e) const;
};
