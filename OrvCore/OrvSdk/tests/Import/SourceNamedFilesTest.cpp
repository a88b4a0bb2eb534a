// The files a source names, as its reader lists them: the frames of an animation description and the media of an
// e-card (relative names from the source's folder), and the media script beside any source of the sequence
// converter.
#include "Import/SourceNamedFiles.h"
#include "tests/SdkTestSupport.h"

#include <QDir>
#include <QStringList>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

QStringList NamedFiles(const QString& source, const char* converter, int stopAfter = -1)
{
    QStringList names;
    SourceNamedFiles::Visit(source, QString::fromLatin1(converter), [&names, stopAfter](const QString& path) {
        names << path;
        return names.size() == stopAfter;
    });
    return names;
}

// "card" as UTF-16, little-endian with its mark, as a UCS-2 e-card may come.
QByteArray Utf16WithMark(const QByteArray& card)
{
    QByteArray bytes("\xff\xfe", 2);
    for (const char byte : card)
        bytes += QByteArray(1, byte) + '\0';
    return bytes;
}

TEST(SourceNamedFiles, FramesEcardEntriesAndTheMediaScriptByName)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString folder = QDir(dir.path()).canonicalPath();
    const auto in = [&folder](const char* name) { return folder + QLatin1Char('/') + QString::fromLatin1(name); };
    const QByteArray card =
        "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><ECARD>Hello<IE TYPE=\"TXT\" STYPE=\"x\" "
        "REF=\"text.txt\"/><IE TYPE=\"EMA\" STYPE=\"PRE\" REF=\"3\"/><IE TYPE=\"IMY\" STYPE=\"USR\" "
        "REF=\"chime.imy\"/><IE TYPE=\"SEQ\" STYPE=\"any\" REF=\"/abs/tune.seq\"/></ECARD>";
    ASSERT_TRUE(WriteFileBytes(in("a.anim"), "<ANIM><FRAME REF=\"f1.png\" DELAY=\"100\"/><frame ref=\"sub/f2.png\"/>"
                                             "<FRAME><FRAME REF=\"deep.png\"/></FRAME><other REF=\"no.png\"/></ANIM>"));
    ASSERT_TRUE(WriteFileBytes(in("card.ecd"), card));
    // The TDD translator reads templates: an e-card of another root names nothing for it.
    ASSERT_TRUE(WriteFileBytes(in("wide.ecd"), Utf16WithMark(QByteArray(card).replace("ECARD>", "TEMPLATE>"))));
    ASSERT_TRUE(WriteFileBytes(in("tune.mid"), "MThd"));
    const QStringList entries = {in("chime.imy"), QStringLiteral("/abs/tune.seq")};
    const struct
    {
        const char *source, *converter;
        QStringList named;
    } cases[] = {
        // The "frame" elements are not read beside a "FRAME", nor one nested in another.
        {"a.anim", "ANI", {in("f1.png")}}, {"card.ecd", "EMS_SMS", entries}, {"wide.ecd", "TDD_SMS", entries},
        {"tune.mid", "SEQ", {in(".emi")}}, {"tune.mid", "IMY", {}},          {"card.ecd", "seq", {in(".emi")}},
        {"card.ecd", "TDD_SMS", {}},       {"missing.anim", "ANI", {}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(NamedFiles(in(c.source), c.converter), c.named) << c.source << " " << c.converter;
    // The first name the caller stops at is the last one read.
    EXPECT_EQ(NamedFiles(in("a.anim"), "ANI", 1), QStringList{in("f1.png")});
}

} // namespace
