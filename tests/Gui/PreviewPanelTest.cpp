// The preview panel: hex rows, picture fitting, the animation player with its frame timer, and sounds with
// their temporary files.
#include "Documents/CDocumentAbstract.h"
#include "Documents/CDocumentAnimation.h"
#include "Documents/CDocumentPicture.h"
#include "Gui/Preview/CFittedPictureLabel.h"
#include "Gui/Preview/CPlayerControl.h"
#include "Gui/Preview/CPreviewPanel.h"
#include "Gui/Window/CGuiServices.h"
#include "GuiTestSupport.h"
#include "QtPrinters.h"
#include "Wave/CDocumentWave.h"
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QStackedWidget>
#include <QTest>
#include <QTreeWidget>

namespace {

void Fill(CDocumentAbstract& raw, const QByteArray& bytes)
{
    raw.SetData(bytes.constData(), uint32_t(bytes.size()));
}

class PreviewPanelTest : public GuiTest
{
protected:
    void SetUp() override
    {
        GuiTest::SetUp();
        m_Panel = std::make_unique<CPreviewPanel>(nullptr, QStringLiteral("Preview"));
        m_Panel->resize(200, 200);
    }
    void TearDown() override
    {
        m_Panel.reset();
        GuiTest::TearDown();
    }
    // The rows of the hex list, each as "address|hexa|ascii".
    QStringList HexRows()
    {
        QStringList rows;
        QTreeWidget* list = m_Panel->GetHexList();
        for (int i = 0; i < list->topLevelItemCount(); ++i) {
            const QTreeWidgetItem* item = list->topLevelItem(i);
            rows.append(item->text(0) + QLatin1Char('|') + item->text(1) + QLatin1Char('|') + item->text(2));
        }
        return rows;
    }
    static std::unique_ptr<CDocumentAnimation> Animation(int frames)
    {
        auto animation = std::make_unique<CDocumentAnimation>();
        for (int i = 0; i < frames; ++i)
            animation->AppendFrame(QImage(10 + i, 10, QImage::Format_RGB32), 5);
        return animation;
    }
    static std::unique_ptr<CDocumentWave> Wave(const QString& name = QString())
    {
        auto wave = std::make_unique<CDocumentWave>();
        wave->CreateHeader(8000, 16, 1);
        wave->AppendSilence(5);
        wave->SetName(name);
        return wave;
    }
    bool Enabled(int bit) { return m_Panel->GetPlayer()->Button(bit)->isEnabled(); }
    bool Shown(int bit) { return !m_Panel->GetPlayer()->Button(bit)->isHidden(); }
    void Click(int bit) { m_Panel->GetPlayer()->Button(bit)->click(); }

    std::unique_ptr<CPreviewPanel> m_Panel;
};

TEST_F(PreviewPanelTest, HexRowsOfSixteenBytes)
{
    CDocumentAbstract empty;
    m_Panel->LoadMedia(&empty);
    EXPECT_EQ(m_Panel->GetPages()->currentIndex(), int(CPreviewPanel::HEX_PAGE));
    EXPECT_TRUE(HexRows().isEmpty());

    CDocumentAbstract raw;
    QByteArray bytes;
    for (int i = 0; i < 17; ++i)
        bytes.append(char(0x41 + i));
    Fill(raw, bytes);
    m_Panel->LoadMedia(&raw);
    EXPECT_EQ(HexRows(), (QStringList{QStringLiteral("00000000| 41 42 43 44 45 46 47 48 49 4A 4B 4C 4D 4E 4F 50 |"
                                                     "ABCDEFGHIJKLMNOP"),
                                      QStringLiteral("00000010| 51 |Q")}));
    EXPECT_TRUE(m_Panel->GetPlayer()->isHidden());
    m_Panel->LoadMedia(nullptr);
}

TEST_F(PreviewPanelTest, ControlBytesShowAsBlanksAndTheRestAsLatin1)
{
    const struct
    {
        uchar byte;
        QChar shown;
    } cases[] = {{0x00, QLatin1Char(' ')}, {0x1F, QLatin1Char(' ')}, {0x20, QLatin1Char(' ')}, {0x7E, QLatin1Char('~')},
                 {0x7F, QChar(0x7F)},      {0x80, QChar(0x80)},      {0xE9, QChar(0xE9)},      {0xFF, QChar(0xFF)}};
    for (const auto& c : cases) {
        CDocumentAbstract raw;
        Fill(raw, QByteArray(1, char(c.byte)));
        m_Panel->LoadMedia(&raw);
        const QTreeWidgetItem* row = m_Panel->GetHexList()->topLevelItem(0);
        ASSERT_NE(row, nullptr);
        EXPECT_EQ(row->text(2), QString(c.shown)) << int(c.byte);
        EXPECT_EQ(row->text(1), QStringLiteral(" %1 ").arg(int(c.byte), 2, 16, QLatin1Char('0')).toUpper());
        m_Panel->LoadMedia(nullptr);
    }
}

TEST_F(PreviewPanelTest, FittingKeepsTheAspectRatioOfPicturesThatDoNotFit)
{
    const struct
    {
        QSize picture;
        QSize box;
        QSize fitted;
    } cases[] = {
        {{1000, 10}, {200, 200}, {200, 2}},   {{100000, 1}, {100, 100}, {100, 1}},
        {{10, 1000}, {200, 200}, {2, 200}},   {{50, 40}, {200, 200}, {200, 200}},
        {{400, 200}, {200, 200}, {200, 100}}, {{200, 400}, {200, 200}, {100, 200}},
        {{200, 200}, {200, 200}, {200, 200}},
    };
    for (const auto& c : cases) {
        QPixmap pixmap(c.picture);
        int width = c.box.width();
        int height = c.box.height();
        FitPictureSize(pixmap, width, height);
        EXPECT_EQ(QSize(width, height), c.fitted) << c.picture.width() << "x" << c.picture.height();
    }
}

TEST_F(PreviewPanelTest, APictureSmallerThanThePanelKeepsItsSize)
{
    CDocumentPicture picture(QImage(30, 20, QImage::Format_RGB32));
    m_Panel->LoadMedia(&picture);
    EXPECT_EQ(m_Panel->GetPages()->currentIndex(), int(CPreviewPanel::PICTURE_PAGE));
    EXPECT_EQ(m_Panel->GetPictureLabel()->pixmap().size(), QSize(30, 20));
    EXPECT_FALSE(m_Panel->GetPictureLabel()->isHidden());
    EXPECT_TRUE(m_Panel->GetPlayer()->isHidden());
    m_Panel->LoadMedia(nullptr);
    EXPECT_TRUE(m_Panel->GetPictureLabel()->isHidden());
}

// The box of the pixels of the given colour in a picture of the widget as it is drawn.
QRect DrawnBox(QWidget* widget, QRgb colour)
{
    const QImage drawn = widget->grab().toImage().convertToFormat(QImage::Format_RGB32);
    QRect box;
    for (int y = 0; y < drawn.height(); ++y)
        for (int x = 0; x < drawn.width(); ++x)
            if ((drawn.pixel(x, y) & 0xFFFFFF) == (colour & 0xFFFFFF))
                box |= QRect(x, y, 1, 1);
    return box;
}

TEST_F(PreviewPanelTest, ALargerPictureOrFrameIsShrunkKeepingItsShape)
{
    // A 400 x 300 picture in a 160 x 160 panel, alone and as an animation's frame, and a picture that fits.
    m_Panel->resize(160, 160);
    m_Panel->show();
    QImage large(400, 300, QImage::Format_RGB32);
    large.fill(qRgb(255, 0, 0));
    QImage small(30, 20, QImage::Format_RGB32);
    small.fill(qRgb(255, 0, 0));
    CDocumentPicture picture(large);
    CDocumentPicture smallPicture(small);
    CDocumentAnimation animation;
    animation.AppendFrame(large, 100);
    const struct
    {
        CDocument* document;
        int minWidth;
        QSize exact;
    } cases[] = {{&picture, 140, QSize()}, {&animation, 100, QSize()}, {&smallPicture, 30, QSize(30, 20)}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.document->GetDocType());
        m_Panel->LoadMedia(c.document);
        QCoreApplication::processEvents();
        CFittedPictureLabel* label = m_Panel->GetPictureLabel();
        const QRect drawn = DrawnBox(label, qRgb(255, 0, 0));
        EXPECT_EQ(drawn, label->PictureRect());
        // 4:3 (or 3:2) within a pixel of rounding, as large as the panel allows.
        const QSize source = c.exact.isValid() ? c.exact : QSize(400, 300);
        EXPECT_LE(qAbs(drawn.width() * source.height() - drawn.height() * source.width()),
                  source.width() + source.height())
            << drawn;
        EXPECT_GE(drawn.width(), c.minWidth) << drawn;
        EXPECT_LE(drawn.width(), 160);
        if (c.exact.isValid()) {
            EXPECT_EQ(drawn.size(), c.exact);
        }
        m_Panel->LoadMedia(nullptr);
    }
}

TEST_F(PreviewPanelTest, FittedSizesKeepTheShapeAndNeverVanish)
{
    const struct
    {
        QSize picture;
        QSize box;
        QSize fitted;
    } cases[] = {{{400, 300}, {160, 160}, {160, 120}}, {{300, 400}, {160, 160}, {120, 160}},
                 {{30, 20}, {160, 160}, {30, 20}},     {{100000, 1}, {100, 100}, {100, 1}},
                 {{10, 10}, {0, 0}, {1, 1}},           {{0, 0}, {100, 100}, {}}};
    for (const auto& c : cases)
        EXPECT_EQ(FittedSize(c.picture, c.box), c.fitted) << c.picture << " in " << c.box;
}

TEST_F(PreviewPanelTest, NextAndPreviousWrapAround)
{
    auto animation = Animation(3);
    CDocumentAbstract raw;
    Fill(raw, QByteArray("x"));
    m_Panel->LoadMedia(&raw);
    m_Panel->LoadMedia(animation.get());
    EXPECT_EQ(m_Panel->GetPages()->currentIndex(), int(CPreviewPanel::PICTURE_PAGE));
    for (int bit : {CPlayerControl::PLAY, CPlayerControl::PREVIOUS, CPlayerControl::NEXT})
        EXPECT_TRUE(Shown(bit) && Enabled(bit)) << bit;
    EXPECT_TRUE(Shown(CPlayerControl::STOP) && !Enabled(CPlayerControl::STOP));
    QSignalSpy frames(m_Panel.get(), &CPreviewPanel::CurrentFrameChanged);
    Click(CPlayerControl::PREVIOUS);
    Click(CPlayerControl::NEXT);
    Click(CPlayerControl::NEXT);
    Click(CPlayerControl::NEXT);
    Click(CPlayerControl::NEXT);
    ASSERT_EQ(frames.count(), 5);
    QList<int> shown;
    for (const QList<QVariant>& args : frames)
        shown.append(args.at(0).toInt());
    EXPECT_EQ(shown, (QList<int>{2, 0, 1, 2, 0}));
    EXPECT_EQ(m_Panel->GetPictureLabel()->pixmap().width(), 10);
    m_Panel->SetCurrentFrame(5);
    EXPECT_TRUE(m_Panel->GetPictureLabel()->pixmap().isNull());
    m_Panel->LoadMedia(nullptr);
}

TEST_F(PreviewPanelTest, AnAnimationWithoutFramesShowsNothing)
{
    auto animation = Animation(0);
    m_Panel->LoadMedia(animation.get());
    for (int bit : {CPlayerControl::PLAY, CPlayerControl::STOP, CPlayerControl::PREVIOUS, CPlayerControl::NEXT})
        EXPECT_TRUE(Shown(bit) && !Enabled(bit)) << bit;
    EXPECT_EQ(m_Panel->GetCurrentFrame(), -1);
    QSignalSpy frames(m_Panel.get(), &CPreviewPanel::CurrentFrameChanged);
    QMetaObject::invokeMethod(m_Panel.get(), "Next");
    ASSERT_EQ(frames.count(), 1);
    EXPECT_EQ(frames.at(0).at(0).toInt(), 0);
    EXPECT_TRUE(m_Panel->GetPictureLabel()->pixmap().isNull());
    m_Panel->LoadMedia(nullptr);
}

TEST_F(PreviewPanelTest, PlayRunsTheFramesOnTheTimerAndStopRewinds)
{
    auto animation = Animation(3);
    m_Panel->LoadMedia(animation.get());
    Click(CPlayerControl::PLAY);
    EXPECT_TRUE(m_Panel->IsTimerRunning());
    EXPECT_FALSE(Enabled(CPlayerControl::PLAY));
    EXPECT_TRUE(Enabled(CPlayerControl::STOP));
    EXPECT_EQ(m_Panel->GetCurrentFrame(), -1);
    // The first tick shows frame 0 at once; each frame then stays its own 5 ms.
    QTRY_COMPARE(m_Panel->GetCurrentFrame(), 0);
    QTRY_COMPARE(m_Panel->GetCurrentFrame(), 2);
    QTRY_COMPARE(m_Panel->GetCurrentFrame(), 0);
    EXPECT_TRUE(m_Panel->IsTimerRunning());
    Click(CPlayerControl::STOP);
    EXPECT_FALSE(m_Panel->IsTimerRunning());
    EXPECT_EQ(m_Panel->GetCurrentFrame(), 0);
    EXPECT_TRUE(Enabled(CPlayerControl::PLAY));
    EXPECT_FALSE(Enabled(CPlayerControl::STOP));
    m_Panel->LoadMedia(nullptr);
}

TEST_F(PreviewPanelTest, ANamelessWaveGoesToTheFirstFreeTemporaryFile)
{
    Write(QStringLiteral("tmp0.wav"), "taken");
    auto wave = Wave();
    m_Panel->LoadMedia(wave.get());
    EXPECT_EQ(m_Panel->GetPages()->currentIndex(), int(CPreviewPanel::SOUND_PAGE));
    EXPECT_TRUE(Shown(CPlayerControl::PLAY) && Shown(CPlayerControl::STOP));
    EXPECT_FALSE(Shown(CPlayerControl::NEXT) || Shown(CPlayerControl::PREVIOUS));
    EXPECT_EQ(m_Panel->GetTempSoundName(), In(QStringLiteral("tmp1.wav")));
    // The wave as written: its header, then 5 ms of 16-bit samples at 8000 Hz.
    const QByteArray written = ReadAll(In(QStringLiteral("tmp1.wav")));
    EXPECT_TRUE(written.startsWith("RIFF"));
    EXPECT_EQ(written.size(), 44 + 80);
    EXPECT_EQ(m_Sound.mCalls, QStringList{QStringLiteral("open tmp1.wav")});
    m_Panel->LoadMedia(nullptr);
    EXPECT_FALSE(QFile::exists(In(QStringLiteral("tmp1.wav"))));
    EXPECT_TRUE(QFile::exists(In(QStringLiteral("tmp0.wav"))));
}

TEST_F(PreviewPanelTest, ANamedWavePlaysItsOwnFile)
{
    auto wave = Wave(In(QStringLiteral("song.wav")));
    m_Panel->LoadMedia(wave.get());
    EXPECT_TRUE(m_Panel->GetTempSoundName().isEmpty());
    EXPECT_FALSE(QFile::exists(In(QStringLiteral("tmp0.wav"))));
    Click(CPlayerControl::PLAY);
    Click(CPlayerControl::PLAY);
    EXPECT_EQ(m_Sound.mCalls, (QStringList{QStringLiteral("open song.wav"), QStringLiteral("play song.wav"),
                                           QStringLiteral("stop song.wav"), QStringLiteral("play song.wav")}));
    m_Panel->LoadMedia(nullptr);
}

TEST_F(PreviewPanelTest, ANamelessWaveGoesToTheSystemsTemporaryFolderElseToTheCurrentPath)
{
    // As the program sets the services up: no folder of its own, the application's current path to fall back on.
    const QString current = In(QStringLiteral("current"));
    const QString system = In(QStringLiteral("system"));
    QDir().mkpath(current);
    QDir().mkpath(system);
    CGuiServices::SetTempFolder(QString());
    CGuiServices::SetFallbackTempFolder(current);
    const QString keptFolder = QDir::currentPath();
    QDir::setCurrent(current);
    const bool hadTmpDir = qEnvironmentVariableIsSet("TMPDIR");
    const QByteArray keptTmpDir = qgetenv("TMPDIR");
    // The system's folder, then one that does not exist (it cannot be written).
    const std::pair<QString, QString> cases[] = {{system, system}, {In(QStringLiteral("missing")), current}};
    for (const auto& [tmpDir, expected] : cases) {
        SCOPED_TRACE(tmpDir.toStdString());
        qputenv("TMPDIR", QFile::encodeName(tmpDir));
        auto wave = Wave();
        m_Panel->LoadMedia(wave.get());
        const QString sound = m_Panel->GetTempSoundName();
        EXPECT_EQ(QFileInfo(sound).fileName(), QStringLiteral("tmp0.wav"));
        EXPECT_EQ(QFileInfo(sound).canonicalPath(), QFileInfo(expected).canonicalFilePath());
        EXPECT_TRUE(QFile::exists(sound));
        if (expected == system) {
            EXPECT_TRUE(FilesIn(current).isEmpty());
        }
        m_Panel->LoadMedia(nullptr);
        EXPECT_FALSE(QFile::exists(sound));
    }
    if (hadTmpDir)
        qputenv("TMPDIR", keptTmpDir);
    else
        qunsetenv("TMPDIR");
    QDir::setCurrent(keptFolder);
}

TEST_F(PreviewPanelTest, StopSilencesAPlayingSoundOnlyWithTheBlank)
{
    auto wave = Wave(In(QStringLiteral("song.wav")));
    m_Panel->LoadMedia(wave.get());
    Click(CPlayerControl::PLAY);
    Click(CPlayerControl::STOP);
    EXPECT_EQ(m_Sound.mCalls.mid(1), (QStringList{QStringLiteral("play song.wav"), QStringLiteral("stop song.wav"),
                                                  QStringLiteral("open blank.wav"), QStringLiteral("play blank.wav")}));
    // A sound that finished by itself needs no blank.
    m_Sound.mCalls.clear();
    Click(CPlayerControl::PLAY);
    m_Sound.mPlaying.remove(QStringLiteral("song.wav"));
    Click(CPlayerControl::STOP);
    EXPECT_EQ(m_Sound.mCalls, QStringList{QStringLiteral("play song.wav")});
    m_Panel->LoadMedia(nullptr);
}

TEST_F(PreviewPanelTest, LettingGoNeverReadsADocumentItsOwnerDeleted)
{
    auto wave = Wave();
    m_Panel->LoadMedia(wave.get());
    Click(CPlayerControl::PLAY);
    wave.reset(); // the owner drops it first, as the application does with a result
    auto animation = Animation(2);
    m_Panel->LoadMedia(animation.get());
    EXPECT_EQ(m_Panel->GetCurrentFrame(), 0);
    EXPECT_FALSE(QFile::exists(In(QStringLiteral("tmp0.wav"))));
    m_Panel->LoadMedia(nullptr);
}

TEST_F(PreviewPanelTest, KeysGoOnToTheParent)
{
    QKeyEvent key(QEvent::KeyPress, Qt::Key_Right, Qt::NoModifier);
    QCoreApplication::sendEvent(m_Panel.get(), &key);
    EXPECT_FALSE(key.isAccepted());
}

} // namespace
