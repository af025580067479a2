// A short, repeatable fuzz run of the readers of untrusted input: the cutting layout
// document (read, counted and drawn), the unscrambling of stored texts, the drilling
// rules and kelm-cut's CSV lists. Each starts from what the program itself writes and
// applies random edits with a fixed seed; every input must either be read or be refused
// with the reader's own error, never crash, hang or overflow. Run under the sanitizer
// build (scripts/test.sh with KELM_SANITIZE=1) this also checks memory and undefined
// behaviour; KELM_FUZZ_ITERATIONS lengthens the run.

#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>
#include <cmath>
#include <iterator>
#include <random>

#include "common/RecordingCanvas.h"
#include "common/TextCodec.h"
#include "documents/UHolePattern.h"
#include "documents/UnitEncrypTo.h"
#include "optimizer/UnitD2RectDisp.h"
#include "optimizer/UnitD2RectDoc.h"
#include "tools/CutListCsv.h"

namespace {

int Iterations(int normal) {
    const int asked = qEnvironmentVariableIntValue("KELM_FUZZ_ITERATIONS");
    return asked > 0 ? asked : normal;
}

// Random edits of a text: characters of the format, numbers at the limits, nesting,
// characters the encoders find hard, cuts and repeats.
class Mutator {
  public:
    explicit Mutator(unsigned seed) : p_rng(seed) {}

    QString operator()(QString s) {
        const int edits = 1 + Pick(4);
        for (int i = 0; i < edits; ++i) {
            const int at = s.isEmpty() ? 0 : Pick(static_cast<int>(s.size()));
            switch (Pick(7)) {
                case 0:
                    if (!s.isEmpty()) s[at] = kAlphabet[Pick(static_cast<int>(kAlphabet.size()))];
                    break;
                case 1:
                    s.remove(at, 1 + Pick(12));
                    break;
                case 2:
                    s.insert(at, kAlphabet[Pick(static_cast<int>(kAlphabet.size()))]);
                    break;
                case 3:
                    s.insert(at, kTokens[Pick(static_cast<int>(std::size(kTokens)))]);
                    break;
                case 4: {
                    // Repeat a piece, which grows lists and nesting.
                    const QString piece = s.mid(at, 1 + Pick(40));
                    s.insert(at, piece.repeated(1 + Pick(5)));
                    break;
                }
                case 5:
                    s = ReplaceNumber(s, at);
                    break;
                default:
                    s.truncate(at);
                    break;
            }
        }
        return s;
    }
    int Pick(int n) { return n <= 0 ? 0 : static_cast<int>(p_rng() % static_cast<unsigned>(n)); }

  private:
    // The digits of the number at or after `at` become a number at a limit.
    QString ReplaceNumber(QString s, int at) {
        int start = at;
        while (start < s.size() && !s[start].isDigit()) ++start;
        int end = start;
        while (end < s.size() && (s[end].isDigit() || s[end] == '.')) ++end;
        if (start >= s.size()) return s;
        return s.replace(start, end - start, kNumbers[Pick(static_cast<int>(std::size(kNumbers)))]);
    }

    inline static const QString kAlphabet =
        QStringLiteral("0123456789ABCDEFabcdefG<>/=\" &;x-.e,\n") + QChar(0xE81E) + QChar(0x4E2D);
    inline static const QString kTokens[] = {
        "<a>",        "</a>",        "<FPB>",   "<EL/>", "&amp;", "&#0;", "\"\"", "<!--", "-->",
        "<![CDATA[", "<?xml x?>", "\xEF\xBB\xBF", "\r\n", ",,,,", "\"a,\"\"b\"",
    };
    inline static const QString kNumbers[] = {
        "0",    "-1",  "-2147483648", "2147483647", "99999999", "100000000", "1e308", "-1e308",
        "1e-320", "nan", "inf",        "1e15",       "0.5",      "4294967296",
    };
    std::mt19937 p_rng;
};

// A small result of the kind the optimization writes: two layouts with placed parts and
// leftovers.
QString LayoutDocument() {
    TD2RRawArr raws{{1, "白橡18", "5", "A", 85.5, 2440, 1220, 99999999, 1},
                    {2, "E1", "6", "", 60, 1830, 915, 40, 0}};
    TD2REleArr eles{{1, "侧板", "", 720, 560.5, 4, 1},
                    {2, "顶板", "x", 564, 560, 2, 0},
                    {3, "门\"板&<>", "", 716, 296, 3, 1}};
    TD2RPrm prm;
    prm.BladeWidth = 4.5;
    prm.Bin = {200, 150};
    TD2RSchame schame;
    for (int l = 0; l < 2; ++l) {
        TD2RGene g;
        g.RawIndex = l;
        g.RawName = raws[l].Name;
        g.RawDbID = raws[l].DbID;
        g.RawLength = raws[l].Length;
        g.RawWidth = raws[l].Width;
        g.RawCount = 1 + l;
        g.RawPrice = raws[l].Price;
        g.EleList.push_back({0, 1, "侧板", "", 0, 0, 720, 560.5});
        g.EleList.push_back({1, 2, "顶板", "x", 724.5, 0, 560, 564});
        g.EleList.push_back({2, 3, "门\"板&<>", "", 0, 565, 716, 296});
        g.RectArr.push_back({1290, 0, 1150, 1220});
        g.RectArr.push_back({0, 865, 1289, 355.26});
        g.EleArea = 720 * 560.5 + 564 * 560 + 716 * 296;
        g.maxBin = 1150 * 1220;
        schame.push_back(g);
    }
    return LayoutDocumentText(raws, eles, prm, schame);
}

TEST(ReaderFuzz, LayoutDocumentsAreReadCountedAndDrawnOrRefused) {
    Mutator mutate(20240501);
    const QString original = LayoutDocument();
    const int iterations = Iterations(3000);
    int read = 0, refused = 0;
    for (int i = 0; i < iterations; ++i) {
        const QString text = mutate(original);
        TD2RRawArr raws;
        TD2REleArr eles;
        TD2RSchame schame;
        TD2RPrm prm;
        try {
            ReadLayoutDocument(text, raws, eles, schame, prm);
        } catch (const std::runtime_error&) {
            ++refused;
            continue;
        }
        ++read;
        // What was read is counted and drawn as the layout report would.
        TD2Rslt rslt;
        TD2Result().GetResult(schame, prm, eles, rslt);
        for (size_t k = 0; k < schame.size() && k < 3; ++k) {
            kelm::RecordingCanvas canvas(QRect(0, 0, 529, 400));
            const double dv = schame[k].RawLength / 519;
            TD2Result().DrawPBT(static_cast<int32_t>(k), 1, 100, 100, dv, rslt, canvas, schame[k],
                                3, 1);
        }
    }
    EXPECT_EQ(read + refused, iterations);
    EXPECT_GT(read, 0);
    EXPECT_GT(refused, 0);
}

TEST(ReaderFuzz, ScrambledTextsUnscrambleOrAreRefused) {
    Mutator mutate(7);
    const QString layout = LayoutDocument();
    const QString names = QStringLiteral("柜体") + QChar(0xE81E) + QChar(0xE78D) +
                          QString::fromUcs4(U"\U00020087", 1) + QStringLiteral("€");
    const QString scrambled[] = {TEncrypXML::EncrypStr(layout, "mepkad"),
                                 TEncrypXML::EncrypStr(names, "qorvt")};
    const int iterations = Iterations(3000);
    int read = 0, refused = 0;
    for (int i = 0; i < iterations; ++i) {
        const QString text = mutate(scrambled[i % 2]);
        try {
            const QString plain = TEncrypXML::UncrypStr(text, i % 2 ? "qorvt" : "mepkad");
            // Whatever came out can be stored again and comes back the same.
            EXPECT_EQ(TEncrypXML::UncrypStr(TEncrypXML::EncrypStr(plain, "tzrq"), "tzrq"), plain);
            ++read;
        } catch (const EConvertError&) {
            ++refused;
        }
    }
    EXPECT_EQ(read + refused, iterations);
    // Raw bytes: decoded leniently, or strictly with an error, never a crash.
    std::mt19937 rng(99);
    for (int i = 0; i < iterations; ++i) {
        QByteArray bytes(static_cast<int>(rng() % 24), '\0');
        for (char& b : bytes) b = static_cast<char>(rng() % 256);
        (void)kelm::DecodeGbkLeniently(bytes);
        try {
            (void)kelm::DecodeGbk(bytes);
        } catch (const std::runtime_error&) {
        }
    }
}

TEST(ReaderFuzz, DrillingRulesGiveNumbersOrNameTheBadEntry) {
    Mutator mutate(31);
    const QString lists[] = {"33,64,96", "33, 100 ,200,300", "", "50"};
    const int iterations = Iterations(3000);
    for (int i = 0; i < iterations; ++i) {
        FPKBZ rules;
        for (int r = 0; r < 3; ++r) {
            FKW kw;
            kw.minV = r * 300;
            kw.maxV = r * 300 + 300 + mutate.Pick(5);
            kw.kwStr = mutate(lists[(i + r) % 4]);
            rules.push_back(kw);
        }
        const FHoleRules parsed(rules);
        for (double size : {0.0, 150.0, 450.0, 899.0, 1e308, -1.0}) {
            try {
                for (double p : parsed.Positions(size)) EXPECT_FALSE(std::isnan(p));
            } catch (const EHolePatternError&) {
            }
        }
    }
}

TEST(ReaderFuzz, CutListsAreReadOrRefusedWithWhere) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    Mutator mutate(4242);
    const QString sheets =
        "name,length,width,count,price,prio\n\"Board 18\",2440,1220,,,\nE1,1830,915,40,60.5,1\n";
    const QString parts =
        "name,length,width,count,rotation\n侧板,720,560,16,0\nbottom,568,560,8,1\n"
        "\"door, \"\"left\"\"\",716,296,12,0\n";
    const QString path = dir.filePath("list.csv");
    const int iterations = Iterations(1500);
    int read = 0, refused = 0;
    for (int i = 0; i < iterations; ++i) {
        const bool isSheets = i % 2 == 0;
        {
            QFile f(path);
            ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
            f.write(mutate(isSheets ? sheets : parts).toUtf8());
        }
        try {
            if (isSheets) {
                for (const TD2RRaw& r : ReadSheetsCsv(path)) {
                    EXPECT_GT(r.Length, 0);
                    EXPECT_GE(r.Count, 1);
                }
            } else {
                for (const TD2REle& e : ReadPartsCsv(path)) {
                    EXPECT_GT(e.Width, 0);
                    EXPECT_GE(e.Count, 1);
                }
            }
            ++read;
        } catch (const CutInputError& e) {
            EXPECT_TRUE(QString::fromStdString(e.what()).startsWith(path)) << e.what();
            ++refused;
        }
    }
    EXPECT_EQ(read + refused, iterations);
    EXPECT_GT(read, 0);
    EXPECT_GT(refused, 0);
}

}  // namespace
