#pragma once
// Cabinets and library entries for the tests of the position and library windows.

#include <memory>

#include "../UiTestSupport.h"
#include "cabinet/UCabs.h"
#include "documents/UXmlSave.h"
#include "ui/design/UDesign.h"

// The position and library windows install the designer's library windows; a test
// leaves the designer as it found it.
class CombTest : public UiTest {
  protected:
    void TearDown() override {
        SetDesignLibraryBrowser({});
        SetDesignLibraryCategoryChooser({});
        UiTest::TearDown();
    }
};

namespace combtest {

// A carcass: left and right side, top and bottom of 18 mm material 1.
inline void AddCarcass(FCabinet& cab) {
    const FCl board{"1", QStringLiteral("侧板"), 18};
    const FCl top{"1", QStringLiteral("顶板"), 18};
    const FCl bottom{"1", QStringLiteral("底板"), 18};
    auto last = [&] { return int(cab.Regions().size()) - 1; };
    cab.AddCeBan(last(), FShape::R, FEdge{}, board, "Left", FFengB{}, "0");
    cab.AddCeBan(last(), FShape::R, FEdge{}, board, "Right", FFengB{}, "0");
    cab.AddDingBan(last(), FShape::R, FEdge{}, top, FFengB{}, "0");
    cab.AddDiBan(last(), FShape::R, FEdge{}, bottom, FFengB{}, "0");
}

inline std::unique_ptr<FCabinet> Carcass(double w, double d, double h, const QString& name) {
    auto cab = std::make_unique<FCabinet>(w, d, h, name);
    AddCarcass(*cab);
    return cab;
}

// A combination holding one carcass of its own size.
inline std::unique_ptr<FCabs> OneCarcass(double w, double d, double h, const QString& name) {
    auto cabs = std::make_unique<FCabs>(w, d, h);
    cabs->AddCabinet(0, Carcass(w, d, h, name));
    return cabs;
}

inline QString LibraryDocument(double w, double d, double h, const QString& name) {
    return FXmlSave::BuildStoredXml(*OneCarcass(w, d, h, name));
}

}  // namespace combtest
