// The real program translating the bundled e-cards from the command line, on
// the real application folder: one file of user data per short message, read
// back with the independent reader.
#include "UserDataReader.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {
using namespace UserDataReader;

QByteArray ReadAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

class MessraProgram : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_Scratch.isValid());
        ASSERT_TRUE(QDir().mkpath(Out(QString())));
    }

    // Translates one bundled example; returns the exit code.
    int Translate(const char* converter, const char* profile, const char* example)
    {
        QProcess process;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("ORVANEDIR"), QStringLiteral(ORV_APP_DIR));
        environment.remove(QStringLiteral("QT_QPA_PLATFORM"));
        process.setProcessEnvironment(environment);
        process.setWorkingDirectory(m_Scratch.path());
        process.start(QStringLiteral(ORV_PROGRAM_FILE),
                      {QStringLiteral("/profile=") + QString::fromLatin1(profile),
                       QStringLiteral("/converter=") + QString::fromLatin1(converter),
                       QStringLiteral("/destination=out"), QStringLiteral("/logfile=run.log"),
                       QStringLiteral(ORV_SOURCE_DIR "/examples/") + QString::fromLatin1(example)});
        if (!process.waitForFinished(30000)) {
            process.kill();
            process.waitForFinished(1000);
            return -1;
        }
        return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    }

    QString Out(const QString& name) const { return m_Scratch.filePath(QStringLiteral("out/") + name); }
    QByteArray Log() const { return ReadAll(m_Scratch.filePath(QStringLiteral("run.log"))); }

    // The user data of one message, parsed; fails the test when it is malformed.
    UserData Message(const char* name)
    {
        const QByteArray chunk = ReadAll(Out(QString::fromLatin1(name)));
        UserData ud;
        QString error;
        EXPECT_TRUE(Parse(chunk, ud, &error)) << name << ": " << error.toStdString();
        return ud;
    }

    QTemporaryDir m_Scratch;
};

void ExpectSegment(const UserData& ud, int total, int segment)
{
    Concatenation concatenation;
    ASSERT_TRUE(FindConcatenation(ud, concatenation));
    EXPECT_EQ(concatenation.reference, 0);
    EXPECT_EQ(concatenation.total, total);
    EXPECT_EQ(concatenation.segment, segment);
}
} // namespace

TEST_F(MessraProgram, GreetingCardBecomesTwoEmsMessages)
{
    ASSERT_EQ(Translate("ems_sms", "Model A", "greeting.ecd"), 0) << Log().constData();
    EXPECT_FALSE(QFile::exists(Out(QStringLiteral("greeting_2.EMS_SMS"))));

    // The sound opens the text, the animation follows its 49th character; "é" is
    // GSM code 0x05.
    const UserData first = Message("greeting_0.EMS_SMS");
    ExpectSegment(first, 2, 1);
    const std::vector<EmsObject> objects = EmsObjects(first);
    ASSERT_EQ(objects.size(), 2u);
    EXPECT_EQ(objects[0].iei, 0x0B);
    EXPECT_EQ(objects[0].position, 0);
    EXPECT_EQ(objects[0].data, QByteArray(1, '\x03'));
    EXPECT_EQ(objects[1].iei, 0x0D);
    EXPECT_EQ(objects[1].position, 49);
    EXPECT_EQ(objects[1].data, QByteArray(1, '\x01'));
    const QByteArray text("Happy birthday, L\x05"
                          "a! Dinner at the caf\x05 at eight? See you there.");
    QByteArray septets;
    QString error;
    ASSERT_TRUE(
        Septets(ReadAll(Out(QStringLiteral("greeting_0.EMS_SMS"))), first.udhl, int(text.size()), septets, &error))
        << error.toStdString();
    EXPECT_EQ(septets, text);

    // The melody does not fit beside the text: it opens the second message.
    const UserData second = Message("greeting_1.EMS_SMS");
    ExpectSegment(second, 2, 2);
    const std::vector<EmsObject> melody = EmsObjects(second);
    ASSERT_EQ(melody.size(), 1u);
    EXPECT_EQ(melody[0].iei, 0x0C);
    EXPECT_EQ(melody[0].position, 0);
    EXPECT_EQ(melody[0].data, ReadAll(QStringLiteral(ORV_SOURCE_DIR "/examples/chime.imy")));
    EXPECT_TRUE(second.body.isEmpty());
}

TEST_F(MessraProgram, PostcardTemplateBecomesTwoTddMessages)
{
    for (const char* profile : {"Model B", "Model C"}) {
        SCOPED_TRACE(profile);
        ASSERT_EQ(Translate("tdd_sms", profile, "postcard.ecd"), 0) << Log().constData();
        EXPECT_FALSE(QFile::exists(Out(QStringLiteral("postcard_2.TDD_SMS"))));

        QByteArray payload;
        for (int segment = 1; segment <= 2; ++segment) {
            const UserData ud = Message(segment == 1 ? "postcard_0.TDD_SMS" : "postcard_1.TDD_SMS");
            ExpectSegment(ud, 2, segment);
            const std::vector<Element> tddElements = ElementsOf(ud, 0x80);
            ASSERT_EQ(tddElements.size(), 1u);
            TddElement tdd;
            ASSERT_TRUE(ParseTdd(tddElements[0].data, tdd));
            EXPECT_EQ(tdd.lengthOctet, 8);
            EXPECT_EQ(UnpackSeptets(tdd.title, 8), QByteArray("POSTCARD"));
            EXPECT_EQ(tdd.contentType, 6);
            EXPECT_FALSE(tdd.copyrighted);
            EXPECT_EQ(tdd.total, 140);
            payload += ud.body;
        }

        bool ucs2 = true;
        std::vector<TemplateEntry> entries;
        ASSERT_TRUE(ParseTemplate(payload, ucs2, entries));
        EXPECT_FALSE(ucs2);
        ASSERT_EQ(entries.size(), 3u);
        EXPECT_EQ(entries[0].type, 0);
        EXPECT_EQ(UnpackSeptets(entries[0].data, entries[0].length), QByteArray("Greetings from the harbour!"));
        EXPECT_EQ(entries[1].type, 3);
        EXPECT_EQ(entries[1].data, ReadAll(QStringLiteral(ORV_SOURCE_DIR "/examples/chime.imy")));
        EXPECT_EQ(entries[2].type, 2);
        EXPECT_EQ(entries[2].data, QByteArray(1, '\x02'));
    }
}

TEST_F(MessraProgram, PhoneWithoutTheTranslatorRefusesTheCard)
{
    EXPECT_NE(Translate("tdd_sms", "Model A", "postcard.ecd"), 0);
    EXPECT_TRUE(QDir(Out(QString())).isEmpty());
}
