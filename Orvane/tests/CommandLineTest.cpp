#include "Core/CCommandLine.h"
#include "QtPrinters.h"
#include <QDir>
#include <QFile>
#include <QMap>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

QStringList Args(std::initializer_list<const char*> items)
{
    QStringList list;
    for (const char* item : items)
        list.append(QString::fromUtf8(item));
    return list;
}

void Touch(const QString& path)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
}

class CommandLineTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_Dir.isValid());
        m_Start = m_Dir.path();
    }
    CCommandLine Parse(std::initializer_list<const char*> items) { return CCommandLine::Parse(Args(items), m_Start); }

    QTemporaryDir m_Dir;
    QString m_Start;
};

TEST_F(CommandLineTest, NoArgumentsIsWindowModeWithDefaults)
{
    const CCommandLine line = Parse({});
    EXPECT_EQ(line.mCommandLineMode, 0);
    EXPECT_TRUE(line.mSources.isEmpty());
    EXPECT_EQ(line.mDestination, m_Start);
    EXPECT_TRUE(line.mProfile.isEmpty());
    EXPECT_TRUE(line.mConverter.isEmpty());
    EXPECT_TRUE(line.mLogFileName.isEmpty());
    EXPECT_TRUE(line.mPathsFileName.isEmpty());
    EXPECT_EQ(line.mPreview + line.mHelp + line.mGui, 0);
}

TEST_F(CommandLineTest, OptionsAreCaseBlindPrefixesAndKeepTheirValueCase)
{
    const CCommandLine line = Parse({"/Profile=abc", "/CONVERTER=imy", "/parameter=My.xml", "/DeStInAtIoN=Out/Dir",
                                     "/logfile=Run.log", "/PATH=Other.xml", "/PREVIEWX"});
    EXPECT_EQ(line.mProfile, QStringLiteral("ABC"));
    EXPECT_EQ(line.mConverter, QStringLiteral("IMY"));
    EXPECT_EQ(line.mParameter, QStringLiteral("My.xml"));
    EXPECT_EQ(line.mDestination, QStringLiteral("Out/Dir"));
    EXPECT_EQ(line.mLogFileName, QStringLiteral("Run.log"));
    EXPECT_EQ(line.mPathsFileName, QStringLiteral("Other.xml"));
    EXPECT_EQ(line.mPreview, 1);
    EXPECT_EQ(line.mCommandLineMode, 0);
}

TEST_F(CommandLineTest, LaterValueWinsAndEmptyValueIsKept)
{
    EXPECT_EQ(Parse({"/profile=one", "/profile=two"}).mProfile, QStringLiteral("TWO"));
    const CCommandLine line = Parse({"/profile=x", "/profile="});
    EXPECT_TRUE(line.mProfile.isEmpty());
}

TEST_F(CommandLineTest, FirstRowInTableOrderWins)
{
    // "/helpme" begins with "/help"; "/ihmx" with "/ihm"; "/user=" keeps its values in order, upper case.
    const CCommandLine line = Parse({"/helpme", "/ihmx", "/user=Ann", "/USER=bob"});
    EXPECT_EQ(line.mHelp, 1);
    EXPECT_EQ(line.mGui, 1);
    EXPECT_EQ(line.mUserValues, Args({"ANN", "BOB"}));
    struct Case
    {
        const char* argument;
        int row;
    };
    const Case cases[] = {
        {"/profile=", 0}, {"/PARAMETER=", 1}, {"/destination=x", 2}, {"/converter=", 3}, {"/logfile=", 4},
        {"/preview", 5},  {"/help", 6},       {"/user=", 7},         {"/ihm", 8},        {"/path=", 9},
        {"/profile", -1}, {"/pat=", -1},      {"profile=x", -1},     {"-help", -1},      {"", -1},
        {"/", -1},
    };
    for (const Case& c : cases)
        EXPECT_EQ(CCommandLine::MatchOption(QString::fromUtf8(c.argument)), c.row) << c.argument;
}

TEST_F(CommandLineTest, ArgumentWithoutSlashIsASource)
{
    const CCommandLine line = Parse({"profile=x"});
    EXPECT_EQ(line.mCommandLineMode, 1);
    EXPECT_TRUE(line.mSources.isEmpty());
    EXPECT_TRUE(line.mProfile.isEmpty());
}

TEST_F(CommandLineTest, ExistingFileIsTakenAsGiven)
{
    QDir(m_Start).mkdir(QStringLiteral("sub"));
    Touch(m_Start + QStringLiteral("/sub/song.mid"));
    Touch(m_Start + QStringLiteral("/tune.RTX"));
    const QString absolute = m_Start + QStringLiteral("/tune.RTX");
    const CCommandLine line =
        CCommandLine::Parse(QStringList{QStringLiteral("sub/song.mid"), absolute, QStringLiteral("tune.RTX")}, m_Start);
    EXPECT_EQ(line.mCommandLineMode, 1);
    EXPECT_EQ(line.mSources, (QStringList{QStringLiteral("sub/song.mid"), absolute, QStringLiteral("tune.RTX")}));
}

TEST_F(CommandLineTest, PatternListsMatchingFilesInNameOrderWhateverTheCase)
{
    for (const char* name : {"b.mid", "A.MID", "c.Mid", "notes.txt", "a.mid.bak"})
        Touch(m_Start + QLatin1Char('/') + QString::fromLatin1(name));
    QDir(m_Start).mkdir(QStringLiteral("folder.mid"));
    const CCommandLine line = Parse({"*.mid", "missing*.wav", "*.TXT"});
    EXPECT_EQ(line.mSources, Args({"A.MID", "b.mid", "c.Mid", "notes.txt"}));
    EXPECT_EQ(line.mCommandLineMode, 1);
}

TEST_F(CommandLineTest, PatternMatchingNothingStillSelectsCommandLineMode)
{
    for (const char* argument : {"*.nothing", "", "."}) {
        const CCommandLine line = Parse({argument});
        EXPECT_EQ(line.mCommandLineMode, 1) << argument;
        EXPECT_TRUE(line.mSources.isEmpty()) << argument;
    }
}

TEST_F(CommandLineTest, IhmKeepsTheWindowAndTheSources)
{
    Touch(m_Start + QStringLiteral("/a.wav"));
    const CCommandLine line = Parse({"a.wav", "/ihm"});
    EXPECT_EQ(line.mCommandLineMode, 0);
    EXPECT_EQ(line.mGui, 1);
    EXPECT_EQ(line.mSources, Args({"a.wav"}));
}

TEST_F(CommandLineTest, HelpWithSourcesAndOptions)
{
    Touch(m_Start + QStringLiteral("/a.wav"));
    const CCommandLine line = Parse({"a.wav", "/profile=p", "/help"});
    EXPECT_EQ(line.mHelp, 1);
    EXPECT_EQ(line.mCommandLineMode, 1);
    EXPECT_EQ(line.mProfile, QStringLiteral("P"));
}

TEST(CommandLineWindow, WindowIsNeededWithoutSourceOrWithIhmButNeverForHelp)
{
    EXPECT_TRUE(CCommandLine::NeedsWindow(Args({})));
    EXPECT_TRUE(CCommandLine::NeedsWindow(Args({"/profile=x", "/preview"})));
    EXPECT_FALSE(CCommandLine::NeedsWindow(Args({"song.mid"})));
    EXPECT_TRUE(CCommandLine::NeedsWindow(Args({"song.mid", "/IHM"})));
    EXPECT_FALSE(CCommandLine::NeedsWindow(Args({"/help"})));
    EXPECT_FALSE(CCommandLine::NeedsWindow(Args({"/ihm", "/HELP"})));
}

TEST(HelpText, ListsRowsWithTextInTableOrder)
{
    const QMap<QString, QString> texts = {
        {QStringLiteral("id_help_header"), QStringLiteral("Orvane %1.%2 - usage: Orvane [options] sources")},
        {QStringLiteral("id_help_profile"), QStringLiteral("<name>  phone profile")},
        {QStringLiteral("id_help_parameter"), QStringLiteral("<file>  parameter file")},
        {QStringLiteral("id_help_destination"), QStringLiteral("<folder>  output folder")},
        {QStringLiteral("id_help_converter"), QStringLiteral("<ext>  converter")},
        {QStringLiteral("id_help_logfile"), QString()},
        {QStringLiteral("id_help_preview"), QStringLiteral("  save previews")},
        {QStringLiteral("id_help_help"), QStringLiteral("  this text %1")},
        {QStringLiteral("id_help_none"), QString()},
    };
    const QString help = FormatHelp(0x00020003, [&](const QString& id) { return texts.value(id); });
    EXPECT_EQ(help, QStringLiteral("Orvane 2.3 - usage: Orvane [options] sources\n"
                                   "/profile=<name>  phone profile\n"
                                   "/parameter=<file>  parameter file\n"
                                   "/destination=<folder>  output folder\n"
                                   "/converter=<ext>  converter\n"
                                   "/preview  save previews\n"
                                   "/help  this text %1\n"
                                   "\n"));
}

TEST(HelpText, VersionHalvesAreUnsignedDecimals)
{
    const auto header = [](const QString& id) {
        return id == QLatin1String("id_help_header") ? QStringLiteral("v%1.%2") : QString();
    };
    EXPECT_EQ(FormatHelp(0x0001000A, header), QStringLiteral("v1.10\n\n"));
    EXPECT_EQ(FormatHelp(int(0xFFFF0000u), header), QStringLiteral("v65535.0\n\n"));
    EXPECT_EQ(FormatHelp(0, [](const QString&) { return QString(); }), QStringLiteral("\n\n"));
}

} // namespace
