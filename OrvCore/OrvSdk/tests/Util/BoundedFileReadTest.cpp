// Outside files are read only when they are regular files within their cap, and every refusal says why: in the
// language file's words, or before the language file is read (it is read through here too) in the system's.
#include "Util/BoundedFileRead.h"
#include "Text/CLanguageResources.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <sys/stat.h>

namespace {

TEST(BoundedFileRead, ReadsRegularFilesWithinTheCapAndSaysWhyOtherwise)
{
    QTemporaryDir dir;
    const auto path = [&dir](const char* name) { return dir.filePath(QString::fromLatin1(name)); };
    const auto write = [&](const char* name, const QByteArray& bytes) {
        QFile file(path(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    };
    write("empty", QByteArray());
    write("ten", QByteArray(10, 't'));
    write("eleven", QByteArray(11, 'e'));
    QDir(dir.path()).mkdir(QStringLiteral("folder"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(path("fifo")).constData(), 0600), 0);
    ASSERT_TRUE(QFile::link(path("nothing"), path("broken")));
    ASSERT_TRUE(QFile::link(path("ten"), path("link")));

    struct Case
    {
        QString path;
        bool read;
        QByteArray content;
        QString reason;
        QString systemReason; // before the language file is read
    };
    const Case cases[] = {
        {path("empty"), true, QByteArray(), QString(), QString()},
        {path("ten"), true, QByteArray(10, 't'), QString(), QString()},
        {path("link"), true, QByteArray(10, 't'), QString(), QString()},
        {path("eleven"), false, QByteArray(), QStringLiteral("is larger than 10 bytes"),
         QStringLiteral("File too large")},
        {path("folder"), false, QByteArray(), QStringLiteral("is a folder"), QStringLiteral("Is a directory")},
        {path("fifo"), false, QByteArray(), QStringLiteral("is a FIFO"), QStringLiteral("No such device or address")},
        {path("broken"), false, QByteArray(), QStringLiteral("is a broken link"),
         QStringLiteral("No such file or directory")},
        {path("missing"), false, QByteArray(), QStringLiteral("No such file or directory"),
         QStringLiteral("No such file or directory")},
        // A Latin-1 "café" listed under a UTF-8 locale: the name read back no longer names the file.
        {dir.filePath(QStringLiteral("caf") + QChar(QChar::ReplacementCharacter) + QStringLiteral(".wav")), false,
         QByteArray(), QStringLiteral("its name cannot be read in this system's character set"),
         QStringLiteral("No such file or directory")},
        {QStringLiteral("/dev/zero"), false, QByteArray(), QStringLiteral("is a device"),
         QStringLiteral("No such device or address")},
        {QString(), false, QByteArray(), QStringLiteral("No such file or directory"),
         QStringLiteral("No such file or directory")},
    };
    for (const bool languageRead : {true, false}) {
        if (languageRead)
            ASSERT_TRUE(CLanguageResources::Load(QStringLiteral(ORV_SOURCE_DIR "/data/app/Languages/English.xml")));
        else
            CLanguageResources::Load(QString());
        for (const Case& c : cases) {
            const QString why = languageRead ? c.reason : c.systemReason;
            QByteArray content("stale");
            QString reason;
            EXPECT_EQ(BoundedFileRead::Read(c.path, 10, content, reason), c.read) << qPrintable(c.path);
            EXPECT_EQ(content, c.content) << qPrintable(c.path);
            EXPECT_EQ(reason, why) << qPrintable(c.path);
            EXPECT_EQ(BoundedFileRead::Check(c.path, 10), why) << qPrintable(c.path);
        }
    }
}

} // namespace
