// The real program says what is wrong with a file it refuses: a phone profile refused at start, when a run asks
// for that phone, and a parameter file, by the element it refused and why; and every reader of XML from outside,
// when a document type declares more attributes than an element may have, or an entity longer than it expands.
#include "BlackPng.h"
#include "ProgramRunFixture.h"
#include "QtPrinters.h"
#include <QDir>
#include <QFile>
#include <gtest/gtest.h>
#include <vector>

namespace {

using namespace ProgramRunFixture;

class CommandLineMessagesTest : public CProgramRunTest
{
protected:
    // A run that one reader of XML refuses a file of, and what it says; the profile's runs take the application
    // folder given.
    struct CRefusal
    {
        const char* name;
        QStringList words;
        QString said;
    };
    void ExpectEachRefusedAndSaid(const std::vector<CRefusal>& cases, const QString& profileApp)
    {
        for (const CRefusal& c : cases) {
            m_Environment.insert(QStringLiteral("ORVANEDIR"), QString::fromUtf8(c.name) == QLatin1String("profile")
                                                                  ? profileApp
                                                                  : QStringLiteral(ORV_APP_DIR));
            const CRun run = Run(c.words);
            EXPECT_EQ(run.exitCode, 1) << c.name;
            const QString log = Log();
            EXPECT_TRUE(log.contains(c.said)) << c.name << ": " << qPrintable(log);
            EXPECT_FALSE(log.contains(QStringLiteral("well-formed"))) << c.name;
        }
    }
};

TEST_F(CommandLineMessagesTest, APhoneAskedForThatStartUpRefusedNamesTheFileAndWhy)
{
    QByteArray broken = ReadBytes(QStringLiteral(ORV_APP_DIR "/Profiles/Model_C.xml"));
    broken.replace("VALUE=\"Model C\"", "VALUE=\"Model Y\"");
    broken.replace("<DATA NAME=\"DSPPower\" TYPE=\"Float\" VALUE=\"40\"",
                   "<DATA NAME=\"DSPPower\" TYPE=\"Float\" VALUE=\"nan\"");
    ASSERT_TRUE(broken.contains("\"nan\""));
    const QString app = AppFolderWith({{QStringLiteral("Model_Y.xml"), broken}});
    m_Environment.insert(QStringLiteral("ORVANEDIR"), app);
    CopyExample("morning.mid", "tune.mid");

    const CRun run = Run(Words("/profile=Model Y", "/converter=seq", "/logfile=run.log", "tune.mid"));
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(Log(), QStringLiteral("No phone profile is named MODEL Y.\n"
                                    "The profile file %1/Profiles/Model_Y.xml was refused: the DATA element "
                                    "\"DSPPower\" has the VALUE \"nan\", which is not a number from its MIN "
                                    "-3.40282e+38 to its MAX 3.40282e+38.\n")
                         .arg(app));
}

TEST_F(CommandLineMessagesTest, AParameterFileErrorNamesTheElementAndWhy)
{
    CopyExample("morning.mid", "tune.mid");
    Write("bad.xml", "<Root><TSECTION><TYPE NAME=\"bool\"/><TYPE NAME=\"int\"/></TSECTION><PSECTION>"
                     "<DATA NAME=\"Tempo\" TYPE=\"int\" VALUE=\"900\" MAX=\"400\"/></PSECTION>"
                     "<ISECTION/></Root>");
    const CRun run = Imy(Words("/parameter=bad.xml", "tune.mid"));
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(Log().startsWith(QStringLiteral("The parameter file %1 could not be loaded.\nReason: the DATA element "
                                                "\"Tempo\" has the VALUE \"900\", outside its MIN -2147483648 and "
                                                "MAX 400.\n")
                                     .arg(W("bad.xml"))))
        << qPrintable(Log());
}

// A document type that gives the element a hundred thousand default attributes (1.7 MB) once took each reader
// tens of seconds and passed. Each reader now refuses it unread, and says why.
QByteArray CrowdedDocumentType(const char* element)
{
    QByteArray declaration = QByteArray("<!DOCTYPE X [<!ATTLIST ") + element;
    for (int i = 0; i < 100000; ++i)
        declaration += " d" + QByteArray::number(i) + " CDATA \"x\"";
    return declaration + ">]>";
}

// The document type after the declaration, where XML wants it.
QByteArray WithCrowdedDocumentType(const QByteArray& document, const char* element)
{
    const int afterDeclaration = document.startsWith("<?xml") ? int(document.indexOf("?>")) + 2 : 0;
    return document.left(afterDeclaration) + CrowdedDocumentType(element) + document.mid(afterDeclaration);
}

TEST_F(CommandLineMessagesTest, EveryXmlReaderRefusesADocumentTypeOfTooManyAttributesAndSaysSo)
{
    const QString tooMany = QStringLiteral(
        "more than 256 attributes on an element, counting the defaults its document type declares, or a document "
        "type that declares or adds too many");
    QByteArray profile = ReadBytes(QStringLiteral(ORV_APP_DIR "/Profiles/Model_C.xml"));
    profile.replace("VALUE=\"Model C\"", "VALUE=\"Model Y\"");
    const QString app = AppFolderWith({{QStringLiteral("Model_Y.xml"), WithCrowdedDocumentType(profile, "DATA")}});
    CopyExample("morning.mid", "tune.mid");
    Write("f.png", BlackPng::Grey(16, 16));
    Write("crowded.anim", WithCrowdedDocumentType("<A><FRAME REF=\"f.png\" DELAY=\"100\"/></A>", "FRAME"));
    Write("crowded.ecd",
          WithCrowdedDocumentType("<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><ECARD>Hi</ECARD>", "ECARD"));
    Write("crowded.xml", WithCrowdedDocumentType(
                             ReadBytes(QStringLiteral(ORV_APP_DIR "/Plugins/Parameters/IMYParameters.xml")), "DATA"));
    const std::vector<CRefusal> cases = {
        {"profile", Words("/profile=Model Y", "/converter=imy", "/logfile=run.log", "tune.mid"),
         QStringLiteral("The profile file %1/Profiles/Model_Y.xml was refused: has %2.\n").arg(app, tooMany)},
        {"parameter file",
         Words("/profile=Model A", "/converter=imy", "/logfile=run.log", "/parameter=crowded.xml", "tune.mid"),
         QStringLiteral("The parameter file %1 could not be loaded.\nReason: it has %2.\n")
             .arg(W("crowded.xml"), tooMany)},
        {"animation description", Words("/profile=Model B", "/converter=ani", "/logfile=run.log", "crowded.anim"),
         QStringLiteral("The animation description has %1.\n").arg(tooMany)},
        {"e-card", Words("/profile=Model A", "/converter=ems_sms", "/logfile=run.log", "crowded.ecd"),
         QStringLiteral("Ecard content has %1 !\n").arg(tooMany)},
    };
    ExpectEachRefusedAndSaid(cases, app);
}

// A well-formed document that refers to an entity of 5,000 characters, more than the toolkit's readers expand, is
// refused by each reader, which says so instead of calling it not well-formed.
TEST_F(CommandLineMessagesTest, EveryXmlReaderSaysItRefusesAnEntityLongerThanItExpands)
{
    const QByteArray entity = "<!ENTITY long \"" + QByteArray(5000, 'n') + "\">";
    const auto withEntity = [&entity](const QByteArray& document, const char* root, const QByteArray& reference,
                                      const QByteArray& where) {
        const int afterDeclaration = document.startsWith("<?xml") ? int(document.indexOf("?>")) + 2 : 0;
        QByteArray result = document.left(afterDeclaration) + "<!DOCTYPE " + root + " [" + entity + "]>"
                            + document.mid(afterDeclaration);
        return result.replace(where, where + reference);
    };
    const QString said = QStringLiteral("declares an entity that stands for more than 4096 characters, more than its "
                                        "reader expands");
    QByteArray profile = ReadBytes(QStringLiteral(ORV_APP_DIR "/Profiles/Model_C.xml"));
    profile.replace("VALUE=\"Model C\"", "VALUE=\"Model Y\"");
    const QString app =
        AppFolderWith({{QStringLiteral("Model_Y.xml"), withEntity(profile, "Profile", " NOTE=\"&long;\"", "<DATA")}});
    CopyExample("morning.mid", "tune.mid");
    Write("f.png", BlackPng::Grey(16, 16));
    Write("long.anim", withEntity("<A><FRAME REF=\"f.png\" DELAY=\"100\"/></A>", "A", "&long;", "<A>"));
    Write("long.ecd",
          withEntity("<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><ECARD>Hi</ECARD>", "ECARD", "&long;", "Hi"));
    const std::vector<CRefusal> cases = {
        {"profile", Words("/profile=Model Y", "/converter=imy", "/logfile=run.log", "tune.mid"),
         QStringLiteral("The profile file %1/Profiles/Model_Y.xml was refused: %2.\n").arg(app, said)},
        {"animation description", Words("/profile=Model B", "/converter=ani", "/logfile=run.log", "long.anim"),
         QStringLiteral("The animation description %1.\n").arg(said)},
        {"e-card", Words("/profile=Model A", "/converter=ems_sms", "/logfile=run.log", "long.ecd"),
         QStringLiteral("Ecard content %1 !\n").arg(said)},
    };
    ExpectEachRefusedAndSaid(cases, app);
}

} // namespace
