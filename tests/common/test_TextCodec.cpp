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
