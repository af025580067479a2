#pragma once
// Offcut labels: one label per offcut in stock, barcode = the offcut's identifier, with its
// material, size, where it came from and when it was kept, and a sketch whose arrow shows
// the grain (along the length the offcut had on its sheet).

#include <vector>

#include "documents/UOffcutStore.h"
#include "output/Label.h"

namespace kelm::output {

Label OffcutLabel(const TOffcutRow& offcut);
std::vector<Label> OffcutLabels(const std::vector<TOffcutRow>& offcuts);

}  // namespace kelm::output
