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
        // The bidirectional controls would show the rest of the line in another order.
        {QStringLiteral("tune") + QChar(0x202E) + QStringLiteral("gpj.mid"), QStringLiteral("tune\\xe2\\x80\\xaegpj.mid")},
        {QString(QChar(0x200E)) + QChar(0x200F) + QChar(0x202A) + QChar(0x2066) + QChar(0x2069) + QChar(0x061C),
         QStringLiteral("\\xe2\\x80\\x8e\\xe2\\x80\\x8f\\xe2\\x80\\xaa\\xe2\\x81\\xa6\\xe2\\x81\\xa9\\xd8\\x9c")},
        // Other format characters join letters and stay.
        {QStringLiteral("a") + QChar(0x200D) + QStringLiteral("b"), QStringLiteral("a") + QChar(0x200D) + QStringLiteral("b")},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ShowName(c.name), c.shown) << qPrintable(c.name);
}

// A long name is shown by its start, never half a character of it, and by its length.
TEST(ShowName, ALongNameIsShownByItsStartAndItsLength)
{
    const QString limit(kShownNameLength, QLatin1Char('n'));
    EXPECT_EQ(ShowName(limit), limit);
    EXPECT_EQ(ShowName(limit + QStringLiteral("x\n")), limit + QStringLiteral("... (258 characters)"));
    const QString huge = QString(1000000, QLatin1Char('\n'));
    EXPECT_EQ(ShowName(huge), QStringLiteral("\\x0a").repeated(kShownNameLength) + QStringLiteral("... (1000000 characters)"));
    // A character outside the basic plane across the cut goes whole to the part not shown.
    const QString clef = QString::fromUtf8("\xf0\x9d\x84\x9e");
    const QString split = QString(kShownNameLength - 1, QLatin1Char('a')) + clef + clef;
    EXPECT_EQ(ShowName(split), QString(kShownNameLength - 1, QLatin1Char('a')) + QStringLiteral("... (259 characters)"));
}

} // namespace
