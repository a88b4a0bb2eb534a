// Animation descriptions written here over pictures saved with QImage.
#include "BlackPng.h"
#include "CMotra.h"
#include "PluginLibraryCheck.h"

#include "Documents/CDocumentAnimation.h"
#include "Import/ImportLimits.h"
#include "Plugin/CRunFiles.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>

namespace {
class MotraImport : public ImporterTest
{
protected:
    void SetUp() override
    {
        ImporterTest::SetUp();
        ASSERT_TRUE(m_Folder.isValid());
        Save(QStringLiteral("red.png"), QImage::Format_RGB32, qRgb(255, 0, 0));
        Save(QStringLiteral("grey.png"), QImage::Format_Grayscale8, qRgb(80, 80, 80));
        Save(QStringLiteral("blue.bmp"), QImage::Format_RGB32, qRgb(0, 0, 255));
    }

    void Save(const QString& name, QImage::Format format, QRgb colour)
    {
        QImage image(4, 2, format);
        image.fill(colour);
        ASSERT_TRUE(image.save(m_Folder.filePath(name)));
    }

    // A picture path as it stands in a description.
    QByteArray Path(const char* name) const { return m_Folder.filePath(QString::fromLatin1(name)).toUtf8(); }

    std::unique_ptr<CDocumentAnimation> Import(const QByteArray& description)
    {
        return ImportAs<CDocumentAnimation, CMotra>(description, CDocument::ANIMATION, m_Summary);
    }

    static QString Text(const char* id)
    {
        return CLanguageResources::GetMessage(QStringLiteral("CMotra"), QString::fromLatin1(id));
    }

    // "picture colour@time" per frame, the colour of the top-left pixel in hex.
    static std::string Describe(const CDocumentAnimation& animation)
    {
        QStringList parts;
        for (int i = 0; i < animation.GetAnimationFrameCount(); ++i) {
            const CAnimationFrame* frame = animation.GetFrame(i);
            parts << QStringLiteral("%1@%2")
                         .arg(frame->GetImage().pixel(0, 0) & 0xFFFFFF, 6, 16, QLatin1Char('0'))
                         .arg(frame->GetDisplayTime());
        }
        return parts.join(QLatin1Char(' ')).toStdString();
    }

    QTemporaryDir m_Folder;
    std::string m_Summary;
};
} // namespace

TEST_F(MotraImport, FramesFromTheDescription)
{
    struct Case
    {
        const char* name;
        QByteArray xml;
        std::string frames;
    };
    const QByteArray red = Path("red.png"), blue = Path("blue.bmp");
    const Case cases[] = {
        {"lower-case", "<anim><frame ref='" + red + "' delay='100'/><frame ref='" + blue + "' delay='250'/></anim>",
         "ff0000@100 0000ff@250"},
        {"upper-wins", "<A><frame ref='" + blue + "' delay='5'/><FRAME REF='" + red + "' DELAY='7'/></A>", "ff0000@7"},
        {"delay-carries-over", "<A><FRAME REF='" + red + "' DELAY='200'/><FRAME REF='" + blue + "'/></A>",
         "ff0000@200 0000ff@200"},
        // A frame without "DELAY" switches every later frame to "delay".
        {"first-without-delay", "<A><FRAME REF='" + red + "'/><FRAME REF='" + blue + "' delay='30'/></A>", "0000ff@30"},
        {"letters-skip", "<A><FRAME REF='" + red + "' DELAY='slow'/><FRAME REF='" + blue + "' DELAY='9'/></A>",
         "0000ff@9"},
        {"negative-skips", "<A><FRAME REF='" + red + "' DELAY='-40'/><FRAME REF='" + blue + "' DELAY='9'/></A>",
         "0000ff@9"},
        {"zero-skips", "<A><FRAME REF='" + red + "' DELAY='0'/><FRAME REF='" + blue + "' DELAY='9'/></A>", "0000ff@9"},
        {"ref-then-REF", "<A><FRAME ref='" + red + "' DELAY='10'/><FRAME REF='" + blue + "' DELAY='20'/></A>",
         "ff0000@10"},
        {"empty-path-skips", "<A><FRAME REF='' DELAY='10'/><FRAME REF='" + red + "' DELAY='3'/></A>", "ff0000@3"},
        {"no-path-switches", "<A><FRAME DELAY='10'/><FRAME ref='" + red + "' DELAY='3'/></A>", "ff0000@3"},
        {"deeper-ignored", "<A><B><FRAME REF='" + blue + "' DELAY='1'/></B><FRAME REF='" + red + "' DELAY='2'/></A>",
         "ff0000@2"},
        {"huge-delay", "<A><FRAME REF='" + red + "' DELAY='2147483647'/></A>", "ff0000@2147483647"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto animation = Import(c.xml);
        ASSERT_NE(animation, nullptr) << m_Summary;
        EXPECT_EQ(Describe(*animation), c.frames);
        EXPECT_TRUE(m_Summary.empty());
        SaveSeed(QString::fromLatin1(c.name) + QStringLiteral(".anim"), c.xml);
    }
}

TEST_F(MotraImport, PicturesAreNormalised)
{
    auto animation = Import("<A><FRAME REF='" + Path("grey.png") + "' DELAY='10'/></A>");
    ASSERT_NE(animation, nullptr);
    EXPECT_EQ(animation->GetFrame(0)->GetImage().format(), QImage::Format_Indexed8);
    EXPECT_EQ(animation->GetFrame(0)->GetImage().pixel(0, 0), qRgb(80, 80, 80));
}

TEST_F(MotraImport, RelativePathsStartAtTheCurrentFolder)
{
    const QString previous = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(m_Folder.path()));
    auto animation = Import("<A><FRAME REF='red.png' DELAY='10'/></A>");
    QDir::setCurrent(previous);
    ASSERT_NE(animation, nullptr);
    EXPECT_EQ(Describe(*animation), "ff0000@10");
}

TEST_F(MotraImport, DescriptionsThatAreNoXmlAreRefused)
{
    const QByteArray red = Path("red.png");
    struct Case
    {
        const char* name;
        QByteArray xml;
    };
    const Case cases[] = {
        {"not-xml", "this is no description"},
        {"empty", QByteArray()},
        {"unclosed", "<A><FRAME REF='" + red + "' DELAY='10'/>"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(Import(c.xml), nullptr);
        EXPECT_EQ(m_Summary, LoggedLines("CMotra", {"id_import_error"}));
        SaveSeed(QString::fromLatin1(c.name) + QStringLiteral(".anim"), c.xml);
    }
}

// No usable frame is not the importer's failure: the animation is empty, and the exporters refuse it.
TEST_F(MotraImport, NoUsableFrameGivesAnEmptyAnimation)
{
    const QByteArray red = Path("red.png");
    struct Case
    {
        const char* name;
        QByteArray xml;
    };
    const Case cases[] = {
        {"empty-root", "<A/>"},
        {"nothing-usable", "<A><FRAME REF='" + red + "' DELAY='0'/><FRAME DELAY='5'/></A>"},
        {"delay-name-switched", "<A><FRAME REF='" + red + "'/><FRAME REF='" + red + "' DELAY='30'/></A>"},
        {"other-children", "<A><picture REF='" + red + "' DELAY='30'/></A>"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto animation = Import(c.xml);
        ASSERT_NE(animation, nullptr);
        EXPECT_EQ(animation->GetAnimationFrameCount(), 0);
        EXPECT_TRUE(m_Summary.empty()) << m_Summary;
        SaveSeed(QString::fromLatin1(c.name) + QStringLiteral(".anim"), c.xml);
    }
}

// A frame that spoils the description is named by its place and its file, with what is wrong with it.
TEST_F(MotraImport, AFrameThatCannotBeLoadedIsNamed)
{
    const QByteArray red = Path("red.png");
    const QByteArray missing = Path("none.png");
    const QByteArray notPicture(ORV_SOURCE_DIR "/CMakeLists.txt");
    const QByteArray folder = m_Folder.path().toUtf8();
    QFile huge(m_Folder.filePath(QStringLiteral("huge.png")));
    ASSERT_TRUE(huge.open(QIODevice::WriteOnly));
    huge.write(BlackPng::Grey(8000, 8000));
    huge.close();
    struct Case
    {
        const char* name;
        QByteArray xml;
        QString expected;
    };
    const QString unreadable = Text("id_frame_unreadable");
    const Case cases[] = {
        {"missing-picture", "<A><FRAME REF='" + red + "' DELAY='10'/><FRAME REF='" + missing + "' DELAY='10'/></A>",
         unreadable.arg(QStringLiteral("2"), QString::fromUtf8(missing), QStringLiteral("No such file or directory"))},
        // A skipped frame still counts in the place of the frames after it.
        {"folder", "<A><FRAME REF='' DELAY='10'/><FRAME REF='" + folder + "' DELAY='10'/></A>",
         unreadable.arg(QStringLiteral("2"), QString::fromUtf8(folder), QStringLiteral("is a folder"))},
        {"device", "<A><FRAME REF='/dev/zero' DELAY='10'/></A>",
         unreadable.arg(QStringLiteral("1"), QStringLiteral("/dev/zero"), QStringLiteral("is a device"))},
        {"not-a-picture", "<A><FRAME REF='" + notPicture + "' DELAY='10'/></A>",
         Text("id_frame_not_a_picture").arg(QStringLiteral("1"), QString::fromUtf8(notPicture))},
        // Too large for the toolkit's reader to decode: refused for its size from its header.
        {"too-large", "<A><FRAME REF='" + Path("huge.png") + "' DELAY='10'/></A>",
         Text("id_frame_too_large")
             .arg(QStringLiteral("1"), huge.fileName(), QStringLiteral("8000"), QStringLiteral("8000"))},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(Import(c.xml), nullptr);
        EXPECT_EQ(m_Summary, (c.expected + QLatin1Char('\n')).toStdString());
        SaveSeed(QString::fromLatin1(c.name) + QStringLiteral(".anim"), c.xml);
    }
}

// A frame that is the run's log is refused with the reason the run gives, whose names are shown once: in a folder
// a\b the frame and the source both read a\x5cb, never a\x5cx5cb.
TEST_F(MotraImport, AFrameThatIsTheRunLogIsNamedWithEachNameShownOnce)
{
    const QString here = m_Folder.filePath(QStringLiteral("a\\b"));
    ASSERT_TRUE(QDir().mkpath(here));
    const QString log = here + QStringLiteral("/run.log");
    const QString source = here + QStringLiteral("/wink.anim");
    QFile file(log);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();
    CRunFiles files;
    files.Add(CRunFiles::RUN_LOG, log);
    files.SetCurrentSource(source);
    CMotra importer;
    importer.SetRunFiles(&files);
    std::unique_ptr<CDocument> document(importer.Import("<A><FRAME REF='" + log.toUtf8() + "' DELAY='10'/></A>"));
    EXPECT_EQ(document, nullptr);
    const auto shown = [](QString name) { return name.replace(QLatin1Char('\\'), QStringLiteral("\\x5c")); };
    EXPECT_EQ(importer.GetConversionLog()->GetSummaryText(),
              QStringLiteral("Frame 1 of the animation description, %1, cannot be read: it is the run log of this run, "
                             "so the source %2 fails.\n")
                  .arg(shown(log), shown(source)));
}

// Four pictures of 4096 x 4096 RGB pixels fill the 256 MB exactly; the fifth is one too many.
TEST_F(MotraImport, PicturesOverTheBudgetNameTheFrameAndTheNumbers)
{
    QImage big(4096, 4096, QImage::Format_RGB32);
    big.fill(qRgb(10, 20, 30));
    ASSERT_TRUE(big.save(m_Folder.filePath(QStringLiteral("big.png"))));
    big = QImage();
    const QByteArray frame = "<FRAME REF='" + Path("big.png") + "' DELAY='10'/>";
    EXPECT_NE(Import("<A>" + frame.repeated(4) + "</A>"), nullptr);
    EXPECT_EQ(Import("<A>" + frame.repeated(5) + "</A>"), nullptr);
    const QString expected = Text("id_frames_too_large")
                                 .arg(QStringLiteral("5"), m_Folder.filePath(QStringLiteral("big.png")),
                                      QStringLiteral("320"), QStringLiteral("256"));
    EXPECT_EQ(m_Summary, (expected + QLatin1Char('\n')).toStdString());
}

// Frames are counted before any picture is read: past the most an animation may have, a description is
// refused whatever its pictures (here a file that does not exist, which would otherwise fail the first frame).
TEST_F(MotraImport, TooManyFramesAreRefusedBeforeAnyPictureIsRead)
{
    const QByteArray missing = "<FRAME REF='" + Path("none.png") + "' DELAY='10'/>";
    const QByteArray lower = "<frame ref='" + Path("none.png") + "' delay='10'/>";
    const QByteArray red = "<FRAME REF='" + Path("red.png") + "' DELAY='10'/>";
    const QString tooMany = Text("id_too_many_frames").arg(ImportLimits::MaxAnimationFrames) + QLatin1Char('\n');
    struct Case
    {
        const char* name;
        QByteArray xml;
        std::string summary; // empty: the animation loads
    };
    const Case cases[] = {
        {"one too many", "<A>" + missing.repeated(ImportLimits::MaxAnimationFrames + 1) + "</A>",
         tooMany.toStdString()},
        {"lower-case, one too many", "<A>" + lower.repeated(ImportLimits::MaxAnimationFrames + 1) + "</A>",
         tooMany.toStdString()},
        {"the most", "<A>" + missing.repeated(ImportLimits::MaxAnimationFrames) + "</A>",
         Text("id_frame_unreadable")
             .arg(QStringLiteral("1"), m_Folder.filePath(QStringLiteral("none.png")),
                  QStringLiteral("No such file or directory"))
             .append(QLatin1Char('\n'))
             .toStdString()},
        // Lower-case frames do not count beside an upper-case one.
        {"lower-case beside upper-case", "<A>" + lower.repeated(ImportLimits::MaxAnimationFrames + 1) + red + "</A>",
         ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto animation = Import(c.xml);
        EXPECT_EQ(m_Summary, c.summary);
        if (c.summary.empty()) {
            ASSERT_NE(animation, nullptr);
            EXPECT_EQ(Describe(*animation), "ff0000@10");
        }
    }
}

// Files nested far deeper than any description are refused, as every reader of XML from outside refuses them.
TEST_F(MotraImport, DeeplyNestedFilesAreRefused)
{
    const QByteArray frame = "<FRAME REF='" + Path("red.png") + "' DELAY='10'/>";
    auto nested = [&](int depth) {
        return "<A>" + frame + QByteArray("<b>").repeated(depth - 1) + QByteArray("</b>").repeated(depth - 1) + "</A>";
    };
    EXPECT_NE(Import(nested(256)), nullptr);
    EXPECT_EQ(Import(nested(257)), nullptr);
    EXPECT_EQ(m_Summary, LoggedLines("CMotra", {"id_import_error"}));
    SaveSeed(QStringLiteral("nested.anim"), nested(20));
}

TEST_F(MotraImport, EveryTruncationImportsOrRefusesCleanly)
{
    const QByteArray xml = "<?xml version='1.0'?><A><FRAME REF='" + Path("red.png") + "' DELAY='12'/><FRAME REF='"
                           + Path("blue.bmp") + "' DELAY='34'/></A>";
    for (qsizetype length = 0; length <= xml.size(); ++length) {
        auto animation = Import(xml.left(length));
        if (length < xml.size()) {
            EXPECT_EQ(animation, nullptr) << length;
        } else {
            ASSERT_NE(animation, nullptr);
            EXPECT_EQ(Describe(*animation), "ff0000@12 0000ff@34");
        }
    }
}

TEST(MotraPlugin, LoadsAndAnswersLikeTheHostExpects)
{
    QTemporaryDir folder;
    QImage image(2, 2, QImage::Format_RGB32);
    image.fill(Qt::green);
    ASSERT_TRUE(image.save(folder.filePath(QStringLiteral("g.png"))));
    const QByteArray xml = "<A><FRAME REF='" + folder.filePath(QStringLiteral("g.png")).toUtf8() + "' DELAY='10'/></A>";
    CheckImportPlugin(ORV_PLUGIN_FILE, "Motra", 0x10001,
                      {{"CMotra", CDocument::ANIMATION, CDocument::ANIMATION, "ANIM", xml, QByteArray("<A>")}});
}

// The files a description names are the pictures its frames load, once each, relative names from its folder; a
// description that loads none (no XML, more frames than an animation may have) names none.
TEST(MotraNamedFiles, TheFramesPicturesFromTheDescriptionsFolder)
{
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const QString in = folder.path();
    CMotra motra;
    const QByteArray many = "<A>" + QByteArray("<FRAME REF='f.png' DELAY='1'/>").repeated(1001) + "</A>";
    const struct
    {
        QByteArray description;
        QStringList files;
    } cases[] = {
        {"<A><FRAME REF='a.png' DELAY='5'/><FRAME REF='/abs/b.png' DELAY='5'/><FRAME REF='a.png' DELAY='5'/>"
         "<FRAME REF='none.png' DELAY='0'/><frame REF='low.png' DELAY='5'/></A>",
         {in + QStringLiteral("/a.png"), QStringLiteral("/abs/b.png")}},
        {"<A><frame ref='sub/c.png' delay='5'/></A>", {in + QStringLiteral("/sub/c.png")}},
        {"<A><FRAME REF='a.png' DELAY='5'/>", {}},
        {many, {}},
    };
    const QString source = folder.filePath(QStringLiteral("wink.anim"));
    for (const auto& c : cases) {
        QFile file(source);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(c.description);
        file.close();
        EXPECT_EQ(motra.GetNamedFiles(source, 1 << 20), c.files) << c.description.left(60).constData();
    }
    // A description larger than the run reads names nothing.
    EXPECT_EQ(motra.GetNamedFiles(source, 10), QStringList());
}
