// The lines that say a source or a parameter file failed: the file and its step on one line, the reason on the
// next, and a converter's trace logged once, without the reason it already gives.
#include "Engine/FailedSource.h"
#include "QtPrinters.h"
#include "Text/CLanguageResources.h"
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

class FailedSourceTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(CLanguageResources::Load(QStringLiteral(ORV_SOURCE_DIR "/data/app/Languages/English.xml")));
    }
    void TearDown() override { CLanguageResources::Load(QString()); }
};

TEST_F(FailedSourceTest, TheFirstLineSaysTheStepAndTheNextWhy)
{
    const struct
    {
        CFailedStep step;
        const char *reason, *lines;
    } cases[] = {
        {CFailedStep::READ, "is empty", "The file a.mid could not be read.\nReason: it is empty."},
        {CFailedStep::CONVERT, "The melody holds no note to play.\n\n",
         "The file a.mid could not be converted.\nReason: The melody holds no note to play."},
        {CFailedStep::TRANSLATE, "Permission denied",
         "The file a.mid could not be translated.\nReason: Permission denied."},
        {CFailedStep::CONVERT, "", "The file a.mid could not be converted."},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FailedSourceLines(c.step, QStringLiteral("a.mid"), QString::fromLatin1(c.reason)),
                  QString::fromLatin1(c.lines))
            << c.reason;
}

TEST_F(FailedSourceTest, AConvertersTraceKeepsItsLinesLessTheReason)
{
    const struct
    {
        const char *summary, *detailed, *trace;
    } cases[] = {
        // The usual log: every message in both texts.
        {"The melody holds no note to play.\n\n", "The melody holds no note to play.\n", ""},
        // An importer's summary ends its line; its detailed text does not.
        {"The picture could not be read.\n", "The picture could not be read.", ""},
        // Trace lines around the reason stay, in order; a trace line that repeats the reason's words is kept too.
        {"Version: 1.0\tLOG REPORT\nNo note.\nlength: 0\nNo note.\n", "No note.\n",
         "Version: 1.0\tLOG REPORT\nlength: 0\nNo note.\n"},
        {"step 1\n\nstep 2\n", "", "step 1\nstep 2\n"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(LinesNotIn(QString::fromLatin1(c.summary), QString::fromLatin1(c.detailed)),
                  QString::fromLatin1(c.trace))
            << c.summary;
}

TEST_F(FailedSourceTest, AParameterFileIsSaidReadOrLoadedByWhatItsReaderCouldDo)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString folder = dir.path() + QStringLiteral("/folder.xml");
    ASSERT_TRUE(QDir().mkpath(folder));
    const QString broken = dir.path() + QStringLiteral("/broken.xml");
    QFile file(broken);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("<PARAMETERS>");
    file.close();
    EXPECT_EQ(FailedParameterFileLines(folder, QStringLiteral("is a folder")),
              QStringLiteral("The parameter file %1 could not be read.\nReason: it is a folder.").arg(folder));
    EXPECT_EQ(FailedParameterFileLines(broken, QStringLiteral("is not a well-formed XML file")),
              QStringLiteral("The parameter file %1 could not be loaded.\nReason: it is not a well-formed XML file.")
                  .arg(broken));
    // Named as its converter names it, checked where it is.
    EXPECT_EQ(
        FailedParameterFileLines(broken, QStringLiteral("is not a well-formed XML file"), QStringLiteral("x.xml")),
        QStringLiteral("The parameter file x.xml could not be loaded.\nReason: it is not a well-formed XML file."));
    // Without a reason, the first line alone.
    EXPECT_EQ(FailedParameterFileLines(broken, QString()),
              QStringLiteral("The parameter file %1 could not be loaded.").arg(broken));
}

} // namespace
