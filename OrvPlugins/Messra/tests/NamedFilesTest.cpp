// The files a source names to the translators, and the one rule that says which entries read a file: what the
// translators list for the host's check of its run log is what their items read.
#include "CMessra.h"
#include "CSmsItem.h"
#include "CTranslatorTDD.h"
#include "Import/EcardEntries.h"
#include "MessraTestSupport.h"
#include <gtest/gtest.h>

using namespace MessraTest;

namespace {

QByteArray Card(const char* root, const QByteArray& entries)
{
    return "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><" + QByteArray(root) + ">Hi" + entries + "</"
           + QByteArray(root) + ">";
}

TEST(MessraNamedFiles, EachTranslatorNamesTheFilesOfTheEcardsItReads)
{
    const QByteArray entries = "<IE TYPE=\"IMY\" STYPE=\"USR\" REF=\"chime.imy\"/><IE TYPE=\"IMY\" STYPE=\"PRE\" "
                               "REF=\"3.imy\"/><IE TYPE=\"VOX\" STYPE=\"x\" REF=\"/abs/talk.vox\"/>";
    TempFolder folder;
    const QStringList named = {folder.FilePath(QStringLiteral("chime.imy")), QStringLiteral("/abs/talk.vox")};
    CMessra ems;
    CTranslatorTDD tdd;
    const struct
    {
        CSmsTranslator* translator;
        const char* source;
        QByteArray bytes;
        QStringList files;
    } cases[] = {
        {&ems, "card.ecd", Card("ECARD", entries), named},
        {&ems, "CARD.ECD", Card("ECARD", entries), named},
        {&tdd, "card.ecd", Card("TEMPLATE", entries), named},
        // Each reads its own root only.
        {&ems, "card.ecd", Card("TEMPLATE", entries), {}},
        {&tdd, "card.ecd", Card("ECARD", entries), {}},
        // A name of two extensions is a single item, and a single item is read itself.
        {&ems, "card.v2.ecd", Card("ECARD", entries), {}},
        {&tdd, "chime.imy", Card("TEMPLATE", entries), {}},
    };
    for (const auto& c : cases) {
        const QString source = folder.Write(c.source, c.bytes);
        EXPECT_EQ(c.translator->GetNamedFiles(source, 1000), c.files)
            << c.source << " " << qPrintable(c.translator->GetExportExtension());
        // A card larger than the run reads, or one that is not there, names nothing.
        EXPECT_EQ(c.translator->GetNamedFiles(source, c.bytes.size() - 1), QStringList()) << c.source;
        QFile::remove(source);
        EXPECT_EQ(c.translator->GetNamedFiles(source, 1000), QStringList()) << c.source;
    }
}

// An item reads the file its REF names exactly when the e-card's rule says its kind reads one: a REF naming a
// file that is not there shows which do.
TEST(MessraNamedFiles, AnItemReadsItsFileExactlyWhenItsKindReadsOne)
{
    CSmsItem::SetMaxMediaSize(1000);
    TempFolder folder;
    const char* types[][2] = {{"TXT", "x"},   {"EMP", "LRG"}, {"EMP", "SML"}, {"EMP", "USR"}, {"EMP", "BIG"},
                              {"EMA", "PRE"}, {"EMA", "LRG"}, {"EMA", "SML"}, {"EMA", "USR"}, {"EMA", "x"},
                              {"IMY", "PRE"}, {"IMY", "USR"}, {"IMY", "x"},   {"SEQ", "x"},   {"QBR", "x"},
                              {"VOX", "x"},   {"PIC", "USR"}, {"PIC", "x"},   {"ANI", "PRE"}, {"WAV", "USR"}};
    for (const auto& type : types) {
        CSmsItem item;
        QString messages;
        item.SetContent(QString::fromLatin1(type[0]), QString::fromLatin1(type[1]), QStringLiteral("2"),
                        folder.Path(), false, 1, nullptr, messages, 0);
        const bool reads = EcardEntries::ReadsFile(
            EcardEntries::Classify(QString::fromLatin1(type[0]), QString::fromLatin1(type[1])));
        EXPECT_EQ(messages.contains(QLatin1String("Can't open file")), reads)
            << type[0] << " " << type[1] << " " << qPrintable(messages);
    }
}

} // namespace
