#include <gtest/gtest.h>

#include "common/XmlText.h"

TEST(XmlAttributeText, EscapesReservedCharactersAndDropsWhatXmlCannotHold) {
    const QChar lone = QChar(0xD800);
    const struct {
        QString text;
        bool apostrophe;
        QString written;
    } cases[] = {
        {QString::fromUtf8("侧板 600×18"), true, QString::fromUtf8("侧板 600×18")},
        {"A&B \"1\" <x>", false, "A&amp;B &quot;1&quot; &lt;x&gt;"},
        {"it's", false, "it's"},
        {"it's", true, "it&apos;s"},
        {"a\tb\nc\rd", false, "a&#9;b&#10;c&#13;d"},
        {QString("a") + QChar(0x01) + QChar(0xFFFE) + "b", false, "ab"},
        {QString("x") + lone + "y", false, "xy"},
        {QString::fromUtf8("😀"), false, QString::fromUtf8("😀")},
    };
    for (const auto& c : cases)
        EXPECT_EQ(kelm::XmlAttributeText(c.text, c.apostrophe), c.written) << c.text.toStdString();
}
