// Scrambling and unscrambling of stored documents: fixed examples worked out by hand
// and by an independent script, round trips, and damaged input.

#include <gtest/gtest.h>

#include <QRegularExpression>
#include <random>

#include "documents/UnitEncrypTo.h"

namespace {

struct Example {
    const char* text;  // UTF-8
    const char* key;
    const char* scrambled;
};

const Example kExamples[] = {
    {"", "qorvt", "00"},
    {"abc", "qorvt", "00101DF2"},     // 97^'q'=0x10, (0x10+98)^'o'=0x1D, (0x1D+99)^'r'=0xF2
    {"柜体", "qorvt", "00C8D5D0C0"},  // two GBK bytes per Chinese character
    {"<KELM/>", "mepkad", "0051F94FF05FEA44"},
    {"A", "", "0013"},             // empty key: "RuskyPennant"
    {"€", "tzrq", "00D6C0"},       // GBK A2E3
    {"𠀀", "tzrq", "00E16E82C9"},  // outside GBK: four GB18030 bytes, kept
};

TEST(EncrypStr, KnownExamples) {
    for (const Example& e : kExamples) {
        SCOPED_TRACE(e.text);
        EXPECT_EQ(TEncrypXML::EncrypStr(QString::fromUtf8(e.text), QString::fromUtf8(e.key)),
                  QString::fromUtf8(e.scrambled));
    }
}

TEST(UncrypStr, KnownExamples) {
    for (const Example& e : kExamples) {
        if (!*e.key) continue;  // the empty key undoes differently, see below
        SCOPED_TRACE(e.text);
        EXPECT_EQ(TEncrypXML::UncrypStr(QString::fromUtf8(e.scrambled), QString::fromUtf8(e.key)),
                  QString::fromUtf8(e.text));
    }
}

TEST(UncrypStr, AcceptsLowerCaseDigits) {
    EXPECT_EQ(TEncrypXML::UncrypStr("00101df2", "qorvt"), "abc");
    EXPECT_EQ(TEncrypXML::UncrypStr("0051f94ff05fea44", "mepkad"), "<KELM/>");
}

TEST(EncrypStr, OutputIsUpperCaseTwoDigitsPerByte) {
    const QString text = QStringLiteral("<KELM><RAW Name=\"白橡 18mm\" /></KELM>");
    const QString s = TEncrypXML::EncrypStr(text, "mepkad");
    int bytes = 0;
    for (QChar c : text) bytes += c.unicode() < 128 ? 1 : 2;  // GBK: Chinese takes two
    EXPECT_EQ(s.size(), 2 + 2 * bytes);
    for (QChar c : s)
        EXPECT_TRUE((c >= '0' && c <= '9') || (c >= 'A' && c <= 'F')) << int(c.unicode());
}

TEST(EncrypStr, KeyBeyondLatinLettersGivesLongerGroups) {
    // 'A' ^ 0x4E2D = 0x4E6C: at least two digits, here four.
    EXPECT_EQ(TEncrypXML::EncrypStr("A", QStringLiteral("中")), "004E6C");
}

TEST(EncrypStr, TextEndsAtZeroCharacter) {
    const QString withZero = QStringLiteral("ab") + QChar(0) + QStringLiteral("cd");
    EXPECT_EQ(TEncrypXML::EncrypStr(withZero, "qorvt"), TEncrypXML::EncrypStr("ab", "qorvt"));
}

TEST(UncrypStr, EmptyKeysDoNotUndoEachOther) {
    const QString s = TEncrypXML::EncrypStr("Kelm", "");
    EXPECT_EQ(TEncrypXML::UncrypStr(s, "RuskyPennant"), "Kelm");
    EXPECT_NE(TEncrypXML::UncrypStr(s, ""), "Kelm");
    EXPECT_EQ(TEncrypXML::UncrypStr(TEncrypXML::EncrypStr("Kelm", "ruskypennant"), ""), "Kelm");
}

TEST(UncrypStr, BadSeedIsAConversionError) {
    for (const char* bad : {"", "G0", "0G1D", "zz", " 0", "-1"}) {
        SCOPED_TRACE(bad);
        EXPECT_THROW(TEncrypXML::UncrypStr(bad, "qorvt"), EConvertError);
    }
}

TEST(UncrypStr, ShortAndOddLengthTexts) {
    EXPECT_EQ(TEncrypXML::UncrypStr("00", "qorvt"), "");
    EXPECT_EQ(TEncrypXML::UncrypStr("7F", "qorvt"), "");
    // A lone third character is a one-digit group; a lone last character of a longer
    // odd text is ignored.
    const QString abc = TEncrypXML::EncrypStr("abc", "qorvt");
    EXPECT_EQ(TEncrypXML::UncrypStr(abc + "F", "qorvt"), "abc");
    // "001": group "1" -> 1 ^ 'q' = 0x70 = 'p'.
    EXPECT_EQ(TEncrypXML::UncrypStr("001", "qorvt"), "p");
}

TEST(UncrypStr, InvalidGroupReadsAsZeroAndTheRestContinues) {
    // "00" "10" "G1" "F2": the third group reads as 0 (like "00"), so the second byte
    // is (0 ^ 'o') - 0x10 = 0x5F '_' and the chain restarts from 0 for the last byte:
    // (0xF2 ^ 'r') - 0 = 0x80, a lone lead byte, then the text ends.
    EXPECT_EQ(TEncrypXML::UncrypStr("0010G1F2", "qorvt"),
              TEncrypXML::UncrypStr("001000F2", "qorvt"));
    const QString damaged =
        TEncrypXML::UncrypStr("0010G1" + TEncrypXML::EncrypStr("xyz", "qorvt").mid(2), "qorvt");
    EXPECT_TRUE(damaged.startsWith("a_")) << damaged.toStdString();
}

TEST(UncrypStr, DamagedBytesDoNotStopTheText) {
    // Corrupting the byte of 'b' in "abcdef" breaks that byte and the next one (the
    // chain) but the rest of the text comes through.
    QString s = TEncrypXML::EncrypStr("abcdef", "tzrq");
    s.replace(4, 2, "FF");
    const QString back = TEncrypXML::UncrypStr(s, "tzrq");
    EXPECT_TRUE(back.startsWith('a'));
    EXPECT_TRUE(back.endsWith("def")) << back.toStdString();
}

TEST(TEncrypXML, RoundTripOverRandomTexts) {
    std::mt19937 rng(20151);
    const QString pool = QStringLiteral("abcXYZ0189 <>&\"'=/.-柜体侧板顶板背板抽屉门€𠀀\n\t");
    const QString keys[] = {"qorvt", "tzrq", "mepkad", "K"};
    for (int n = 0; n < 300; ++n) {
        QString text;
        const int len = std::uniform_int_distribution<int>(0, 60)(rng);
        while (text.size() < len) {
            const int i = std::uniform_int_distribution<int>(0, pool.size() - 1)(rng);
            if (pool[i].isHighSurrogate())
                text += pool.mid(i, 2);
            else if (!pool[i].isLowSurrogate())
                text += pool[i];
        }
        const QString& key = keys[n % 4];
        EXPECT_EQ(TEncrypXML::UncrypStr(TEncrypXML::EncrypStr(text, key), key), text)
            << text.toStdString();
    }
}

TEST(UncrypStr, ArbitraryInputNeverCrashes) {
    std::mt19937 rng(7);
    const QString alphabet = QStringLiteral("0123456789abcdefABCDEFGxz 柜");
    for (int n = 0; n < 2000; ++n) {
        QString s;
        const int len = std::uniform_int_distribution<int>(0, 40)(rng);
        for (int i = 0; i < len; ++i)
            s += alphabet[std::uniform_int_distribution<int>(0, alphabet.size() - 1)(rng)];
        try {
            const QString out = TEncrypXML::UncrypStr(s, "mepkad");
            EXPECT_LE(out.size(), s.size());
        } catch (const EConvertError&) {
            EXPECT_TRUE(s.size() < 2 || s.left(2).contains(QRegularExpression("[^0-9a-fA-F]")));
        }
    }
}

}  // namespace
