#include <gtest/gtest.h>

#include <stdexcept>

#include "common/TextCodec.h"

TEST(TextCodec, GbkCharactersKeepTheirGbkBytes) {
    // "中" is D6 D0 in GBK; ASCII stays ASCII.
    EXPECT_EQ(kelm::EncodeGbk(QString::fromUtf8("a中")), QByteArray("a\xD6\xD0"));
    EXPECT_EQ(kelm::DecodeGbk(QByteArray("a\xD6\xD0")), QString::fromUtf8("a中"));
}

TEST(TextCodec, CharactersOutsideGbkSurviveTheRoundTrip) {
    const QString text = QString::fromUtf8("€ 😀 ㎡ ￥");
    EXPECT_EQ(kelm::DecodeGbk(kelm::EncodeGbk(text)), text);
}

TEST(TextCodec, InvalidBytesAreReported) {
    EXPECT_THROW(kelm::DecodeGbk(QByteArray("\x81")), std::runtime_error);
}

namespace {
// The private-use characters the C library's GB18030 converter has no code for.
const char16_t kUnconvertedPrivateUse[] = {
    0xE78D, 0xE78E, 0xE78F, 0xE790, 0xE791, 0xE792, 0xE793, 0xE794, 0xE795, 0xE796, 0xE816, 0xE817,
    0xE818, 0xE81E, 0xE826, 0xE82B, 0xE82C, 0xE831, 0xE832, 0xE83B, 0xE843, 0xE854, 0xE855, 0xE864};
}  // namespace

TEST(TextCodec, PrivateUseCharactersOfOldGbkTablesRoundTrip) {
    for (char16_t c : kUnconvertedPrivateUse) {
        const QString text = QStringLiteral("柜") + QChar(c) + QStringLiteral("a");
        QByteArray bytes;
        ASSERT_NO_THROW(bytes = kelm::EncodeGbk(text)) << std::hex << int(c);
        EXPECT_EQ(bytes.size(), 2 + 4 + 1) << std::hex << int(c);
        EXPECT_EQ(kelm::DecodeGbk(bytes), text) << std::hex << int(c);
        EXPECT_EQ(kelm::DecodeGbkLeniently(bytes), text) << std::hex << int(c);
    }
}

TEST(TextCodec, EveryUnicodeCharacterRoundTripsAndOldBytesStay) {
    QString all;
    for (char32_t c = 1; c <= 0x10FFFF; ++c) {
        if (c >= 0xD800 && c <= 0xDFFF) continue;
        all += QString::fromUcs4(&c, 1);
    }
    EXPECT_EQ(kelm::DecodeGbk(kelm::EncodeGbk(all)), all);
    // The ideographs whose two-byte codes older documents hold keep them.
    EXPECT_EQ(kelm::EncodeGbk(QString::fromUcs4(U"\U00020087", 1)), QByteArray("\xFE\x51"));
    EXPECT_EQ(kelm::DecodeGbk(QByteArray("\xFE\x51")), QString::fromUcs4(U"\U00020087", 1));
    EXPECT_EQ(kelm::DecodeGbk(QByteArray("\xA6\xD9")), QString(QChar(0xFE10)));
}

TEST(TextCodec, DamagedBytesAroundAPrivateUseCodeStillDecode) {
    const QByteArray bytes = QByteArray("\xFF") + kelm::EncodeGbk(QString(QChar(0xE81E))) + "z";
    EXPECT_THROW(kelm::DecodeGbk(bytes), std::runtime_error);
    EXPECT_EQ(kelm::DecodeGbkLeniently(bytes).right(2), QString(QChar(0xE81E)) + QLatin1Char('z'));
}
