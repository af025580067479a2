#include "output/OffcutLabels.h"

#include "common/NumberFormat.h"
#include "output/LayoutPage.h"

namespace kelm::output {

Label OffcutLabel(const TOffcutRow& o) {
    Label label;
    label.Heading = QStringLiteral("余料 ") + o.ofCode;
    QString material = o.ylName.isEmpty() ? QStringLiteral("材料 ") + o.ylID : o.ylName;
    if (o.thick > 0) material += QStringLiteral(" ") + kelm::FormatGeneral(o.thick) + QStringLiteral("mm");
    label.Lines << material << QStringLiteral("尺寸：") + SizeText(o.length, o.width);
    QString from = QStringLiteral("来源：订单 ") + (o.proCode.isEmpty() ? o.proID : o.proCode);
    if (o.fpbNo > 0) from += QStringLiteral(" 图%1").arg(o.fpbNo);
    label.Lines << from << QStringLiteral("入库：") + o.ofDate;
    if (!o.bz.isEmpty()) label.Lines << o.bz;
    label.Barcode = o.ofCode;
    EdgeSketch sketch;
    sketch.Length = o.length;
    sketch.Width = o.width;
    sketch.Grain = true;
    label.Sketch = sketch;
    return label;
}

std::vector<Label> OffcutLabels(const std::vector<TOffcutRow>& offcuts) {
    std::vector<Label> labels;
    labels.reserve(offcuts.size());
    for (const TOffcutRow& o : offcuts) labels.push_back(OffcutLabel(o));
    return labels;
}

}  // namespace kelm::output
