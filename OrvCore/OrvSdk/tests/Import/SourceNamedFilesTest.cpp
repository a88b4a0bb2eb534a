// Where the files a source names are read from, and the files the entries of an e-card read: relative names from
// the source's folder, absolute ones as they stand; only the entries that read a file, from a card opened as the
// translators open it.
#include "Import/CEcardDocument.h"
#include "Import/EcardEntries.h"
#include "Import/SourceNamedFiles.h"

#include <QStringList>
#include <gtest/gtest.h>

namespace {

TEST(SourceNamedFiles, RelativeNamesAreTakenFromTheSourcesFolder)
{
    EXPECT_EQ(SourceNamedFiles::FolderOf(QStringLiteral("/cards/a.ecd")), QStringLiteral("/cards"));
    EXPECT_EQ(SourceNamedFiles::PathIn(QStringLiteral("/cards"), QStringLiteral("sub/f.png")),
              QStringLiteral("/cards/sub/f.png"));
    EXPECT_EQ(SourceNamedFiles::PathIn(QStringLiteral("/cards"), QStringLiteral("/abs/f.png")),
              QStringLiteral("/abs/f.png"));
}

// "card" as UTF-16, little-endian with its mark, as a UCS-2 e-card may come.
QByteArray Utf16WithMark(const QByteArray& card)
{
    QByteArray bytes("\xff\xfe", 2);
    for (const char byte : card)
        bytes += QByteArray(1, byte) + '\0';
    return bytes;
}

QStringList NamedFiles(const QByteArray& bytes, const char* rootTag, QString* reason = nullptr)
{
    CEcardDocument ecard(QString::fromLatin1(rootTag));
    QString why;
    const bool opened = EcardEntries::Open(ecard, bytes, why);
    if (reason)
        *reason = why;
    return opened ? EcardEntries::NamedFiles(ecard, QStringLiteral("/cards")) : QStringList();
}

TEST(SourceNamedFiles, AnEcardNamesTheFilesOfTheEntriesThatReadOne)
{
    const QByteArray card =
        "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><ECARD>Hello<IE TYPE=\"TXT\" STYPE=\"x\" "
        "REF=\"text.txt\"/><IE TYPE=\"EMA\" STYPE=\"PRE\" REF=\"3\"/><IE TYPE=\"IMY\" STYPE=\"USR\" "
        "REF=\"chime.imy\"/><IE TYPE=\"EMP\" STYPE=\"BIG\" REF=\"odd.emp\"/><IE TYPE=\"SEQ\" STYPE=\"any\" "
        "REF=\"/abs/tune.seq\"/><IE TYPE=\"ANI\" STYPE=\"PRE\" REF=\"a.ani\"/></ECARD>";
    const QStringList entries = {QStringLiteral("/cards/chime.imy"), QStringLiteral("/abs/tune.seq"),
                                 QStringLiteral("/cards/a.ani")};
    EXPECT_EQ(NamedFiles(card, "ECARD"), entries);
    EXPECT_EQ(NamedFiles(Utf16WithMark(QByteArray(card).replace("ECARD>", "TEMPLATE>")), "TEMPLATE"), entries);
    // A card of another root, of an unknown encoding or not well-formed names nothing, with the translators' words.
    const struct
    {
        QByteArray bytes;
        const char* reason;
    } refused[] = {
        {card, "Root element tag name is invalid\n"},
        {QByteArray(card).replace("ISO-8859-1", "UTF-8").replace("ECARD>", "TEMPLATE>"),
         "Text encoding type was not recognized\n"},
        {card.left(card.size() - 3), "Ecard content is not well-formed !\n"},
    };
    for (const auto& c : refused) {
        QString reason;
        EXPECT_EQ(NamedFiles(c.bytes, "TEMPLATE", &reason), QStringList()) << c.reason;
        EXPECT_EQ(reason, QString::fromLatin1(c.reason));
    }
}

} // namespace
