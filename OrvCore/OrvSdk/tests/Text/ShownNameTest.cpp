// A name as a message shows it: whatever could end a line is written as its bytes, everything else as it stands.
#include "Text/ShownName.h"

#include <gtest/gtest.h>

namespace {

TEST(ShowName, WhatCouldEndALineIsShownByItsBytes)
{
    const struct
    {
        QString name, shown;
    } cases[] = {
        {QStringLiteral("tune.mid"), QStringLiteral("tune.mid")},
        {QString::fromUtf8("caf\xc3\xa9 \\ mine.wav"), QString::fromUtf8("caf\xc3\xa9 \\ mine.wav")},
        {QStringLiteral("evil\nConversion succeeded.\n.mid"),
         QStringLiteral("evil\\x0aConversion succeeded.\\x0a.mid")},
        {QStringLiteral("a\r\tb\x7f"), QStringLiteral("a\\x0d\\x09b\\x7f")},
        {QString(QChar(0x2028)) + QChar(0x85), QStringLiteral("\\xe2\\x80\\xa8\\xc2\\x85")},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ShowName(c.name), c.shown) << qPrintable(c.name);
}

} // namespace
