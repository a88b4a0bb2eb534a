// The real program says what is wrong with a file it refuses: a phone profile refused at start, when a run asks
// for that phone, and a parameter file, by the element it refused and why.
#include "ProgramRunFixture.h"
#include "QtPrinters.h"
#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

namespace {

using namespace ProgramRunFixture;

class CommandLineMessagesTest : public CProgramRunTest
{};

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
    EXPECT_TRUE(Log().startsWith(QStringLiteral("The parameter file %1 could not be loaded: the DATA element "
                                                "\"Tempo\" has the VALUE \"900\", outside its MIN -2147483648 and "
                                                "MAX 400.\n")
                                     .arg(W("bad.xml"))))
        << qPrintable(Log());
}

} // namespace
