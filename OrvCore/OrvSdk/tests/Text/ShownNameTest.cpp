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
        {QString::fromUtf8("caf\xc3\xa9 mine.wav"), QString::fromUtf8("caf\xc3\xa9 mine.wav")},
        // A backslash is escaped too, so that a name holding the four characters \x0a is not read as a line feed.
        {QStringLiteral("a\\x0a.mid"), QStringLiteral("a\\x5cx0a.mid")},
        {QStringLiteral("evil\nConversion succeeded.\n.mid"),
         QStringLiteral("evil\\x0aConversion succeeded.\\x0a.mid")},
        {QStringLiteral("a\r\tb\x7f"), QStringLiteral("a\\x0d\\x09b\\x7f")},
        {QString(QChar(0x2028)) + QChar(0x85), QStringLiteral("\\xe2\\x80\\xa8\\xc2\\x85")},
        // The bidirectional controls would show the rest of the line in another order.
        {QStringLiteral("tune") + QChar(0x202E) + QStringLiteral("gpj.mid"),
         QStringLiteral("tune\\xe2\\x80\\xaegpj.mid")},
        {QString(QChar(0x200E)) + QChar(0x200F) + QChar(0x202A) + QChar(0x2066) + QChar(0x2069) + QChar(0x061C),
         QStringLiteral("\\xe2\\x80\\x8e\\xe2\\x80\\x8f\\xe2\\x80\\xaa\\xe2\\x81\\xa6\\xe2\\x81\\xa9\\xd8\\x9c")},
        // Invisible format characters would make two names look alike: a zero-width space, joiner and word joiner,
        // a soft hyphen, a byte order mark, and a tag character beyond the basic plane.
        {QStringLiteral("a") + QChar(0x200D) + QStringLiteral("b"), QStringLiteral("a\\xe2\\x80\\x8db")},
        {QString(QChar(0xFEFF)) + QStringLiteral("x") + QChar(0x200B) + QChar(0x00AD) + QChar(0x2060),
         QStringLiteral("\\xef\\xbb\\xbfx\\xe2\\x80\\x8b\\xc2\\xad\\xe2\\x81\\xa0")},
        {QStringLiteral("tune") + QString::fromUcs4(U"\U000E0041", 1) + QStringLiteral(".mid"),
         QStringLiteral("tune\\xf3\\xa0\\x81\\x81.mid")},
        // Visible characters beyond the basic plane stay.
        {QString::fromUtf8("\xf0\x9d\x84\x9e.mid"), QString::fromUtf8("\xf0\x9d\x84\x9e.mid")},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ShowName(c.name), c.shown) << qPrintable(c.name);
}

// A long name is shown by its start, its end and its length, never half a character of it: the end is the file's
// name whole, cut in its own middle only when it alone is too long.
TEST(ShowName, ALongNameKeepsItsStartItsFileNameAndItsLength)
{
    const QString limit(kShownNameLength, QLatin1Char('n'));
    EXPECT_EQ(ShowName(limit), limit);
    const QString folders = QStringLiteral("/") + QString(217, QLatin1Char('d')) + QStringLiteral("/");
    const QString file = QString(109, QLatin1Char('f')) + QStringLiteral("1");
    const QString clef = QString::fromUtf8("\xf0\x9d\x84\x9e");
    const struct
    {
        QString name, shown;
    } cases[] = {
        // 329 characters, a file name of 110: the folders' first 146 characters, then the file name whole.
        {folders + file, folders.left(146) + QStringLiteral("...") + file + QStringLiteral(" (329 characters)")},
        // A name without folders is a file name: 258 characters keep their first and last 96.
        {limit + QStringLiteral("x\n"), limit.left(96) + QStringLiteral("...") + QString(94, QLatin1Char('n'))
                                            + QStringLiteral("x\\x0a (258 characters)")},
        // A file name longer than 192 characters keeps its first and last 96.
        {QStringLiteral("/tmp/") + QString(150, QLatin1Char('a')) + QString(150, QLatin1Char('z')),
         QStringLiteral("/tmp/") + QString(96, QLatin1Char('a')) + QStringLiteral("...") + QString(96, QLatin1Char('z'))
             + QStringLiteral(" (305 characters)")},
        // Folders longer than the 64 characters left beside such a name are cut after their start.
        {folders + QString(200, QLatin1Char('a')) + QString(200, QLatin1Char('z')),
         folders.left(64) + QStringLiteral("...") + QString(96, QLatin1Char('a')) + QStringLiteral("...")
             + QString(96, QLatin1Char('z')) + QStringLiteral(" (619 characters)")},
        {QString(1000000, QLatin1Char('\n')), QStringLiteral("\\x0a").repeated(96) + QStringLiteral("...")
                                                  + QStringLiteral("\\x0a").repeated(96)
                                                  + QStringLiteral(" (1000000 characters)")},
        // A character outside the basic plane across a cut goes whole to the part not shown.
        {QString(95, QLatin1Char('a')) + clef + QString(300, QLatin1Char('b')) + clef + QString(95, QLatin1Char('c')),
         QString(95, QLatin1Char('a')) + QStringLiteral("...") + QString(95, QLatin1Char('c'))
             + QStringLiteral(" (494 characters)")},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ShowName(c.name), c.shown) << c.name.size();
}

// Bytes the character set cannot spell: each byte outside printable ASCII and the backslash by its value, a long
// name cut as a name of characters is.
TEST(ShowName, BytesAreShownByTheirValues)
{
    EXPECT_EQ(ShowNameBytes(QByteArray("caf\xe9\\1\n.mid")), QStringLiteral("caf\\xe9\\x5c1\\x0a.mid"));
    const QByteArray name = "/" + QByteArray(300, 'd') + "/tune\xe9.mid";
    EXPECT_EQ(ShowNameBytes(name),
              QString::fromLatin1("/" + QByteArray(246, 'd')) + QStringLiteral("...tune\\xe9.mid (311 characters)"));
}

} // namespace
