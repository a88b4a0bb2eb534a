// The tab view: its panels, and what leaving the media tab does to the media and its result.
#include "Gui/Panels/CDestinationSelectorPanel.h"
#include "Gui/Panels/CMediaSelectorPanel.h"
#include "Gui/Preview/CPreviewPanel.h"
#include "Gui/Window/COrvTabview.h"
#include "GuiTestSupport.h"
#include "QtPrinters.h"
#include <QSplitter>

namespace {

class TabviewTest : public GuiTest
{
protected:
    void SetUp() override
    {
        GuiTest::SetUp();
        Window().LoadSettings(SettingsPath());
        Window().show();
    }
    B32 Converted()
    {
        B32 converted = 7;
        Tabs().mpMediaDestinationPanel->IsConverted(&converted);
        return converted;
    }
    // The result previews show the application's documents, as after a conversion with RawData checked.
    void ShowResult()
    {
        CDocument* raw = nullptr;
        emit Window().GetPreviewRawData(&raw);
        Tabs().mpMediaDestinationPanel->GetResultPreview()->LoadMedia(raw);
        Tabs().mpMediaDestinationPanel->GetRawDataPreview()->LoadMedia(raw);
    }
    CDocument* ShownResult()
    {
        CDestinationSelectorPanel* out = Tabs().mpMediaDestinationPanel;
        return out->GetRawDataPreview()->GetDocument() ? out->GetRawDataPreview()->GetDocument()
                                                       : out->GetResultPreview()->GetDocument();
    }
    QString Question() const
    {
        return GuiMessage("COrvTabview", "id_warning_title") + QLatin1Char('|')
               + GuiMessage("COrvTabview", "id_warning_save_text") + QLatin1Char('|')
               + GuiMessage("COrvTabview", "id_yes_caption") + QLatin1Char('/')
               + GuiMessage("COrvTabview", "id_no_caption") + QStringLiteral("|1|1");
    }
};

TEST_F(TabviewTest, ThreePagesOfThreePanels)
{
    const char* grids[] = {"MediaGrid", "SmsGrid", "BatchGrid"};
    const char* panels[3][3] = {{"CMediaSelectorPanel", "CConverterPanel", "CDestinationSelectorPanel"},
                                {"CSmsSelectorPanel", "CSmsBuilderPanel", "CDestinationSelectorPanel"},
                                {"CBatchSelectorPanel", "CParamsSelectorPanel", "CDestinationSelectorPanel"}};
    ASSERT_EQ(Tabs().count(), 3);
    for (int tab = 0; tab < 3; ++tab) {
        auto* grid = qobject_cast<QSplitter*>(Tabs().widget(tab));
        ASSERT_NE(grid, nullptr);
        EXPECT_EQ(grid->objectName(), QString::fromLatin1(grids[tab]));
        ASSERT_EQ(grid->count(), 3);
        for (int i = 0; i < 3; ++i)
            EXPECT_EQ(grid->widget(i)->objectName(), QString::fromLatin1(panels[tab][i]));
    }
    EXPECT_EQ(Tabs().tabText(0), GuiMessage("COrvTabview", "id_media_tab"));
    EXPECT_EQ(Tabs().mpMediaDestinationPanel->GetMode(), 0);
    EXPECT_EQ(Tabs().mpSmsDestinationPanel->GetMode(), 1);
    EXPECT_EQ(Tabs().mpBatchDestinationPanel->GetMode(), 2);
}

TEST_F(TabviewTest, LeavingTheMediaTabWithoutAResultClosesTheMedia)
{
    QString source = Write(QStringLiteral("in/a.txt"), "text");
    B32 loaded = 0;
    emit Window().LoadMediaAsked(source, ConverterIndex("TST"), loaded);
    ASSERT_EQ(loaded, 1);
    Tabs().ShowPage(COrvTabview::SMS_TAB);
    EXPECT_EQ(Loaded(), nullptr);
    EXPECT_TRUE(m_GuiPrompt.mQuestions.isEmpty());
    // From the SMS tab to the batch tab the media is closed once more, without a question.
    Tabs().ShowPage(COrvTabview::BATCH_TAB);
    EXPECT_TRUE(m_GuiPrompt.mQuestions.isEmpty());
}

TEST_F(TabviewTest, AnsweringYesOrNoDropsTheResultEitherWay)
{
    for (int answer : {0, 1}) {
        SCOPED_TRACE(answer);
        Tabs().ShowPage(COrvTabview::MEDIA_TAB);
        m_GuiPrompt.mQuestions.clear();
        MakeUnsavedResult();
        ShowResult();
        m_GuiPrompt.mAnswers = {answer};
        Tabs().ShowPage(COrvTabview::SMS_TAB);
        EXPECT_EQ(m_GuiPrompt.mQuestions, QStringList{Question()});
        EXPECT_EQ(Converted(), 0);
        EXPECT_EQ(Loaded(), nullptr);
        EXPECT_EQ(ShownResult(), nullptr);
    }
}

TEST_F(TabviewTest, WithWarningsOffAResultIsDroppedSilently)
{
    MakeUnsavedResult();
    ShowResult();
    ASSERT_NE(ShownResult(), nullptr);
    emit Window().Warnings(0);
    Tabs().ShowPage(COrvTabview::BATCH_TAB);
    EXPECT_TRUE(m_GuiPrompt.mQuestions.isEmpty());
    EXPECT_EQ(ShownResult(), nullptr);
    EXPECT_EQ(Converted(), 0);
    EXPECT_EQ(Loaded(), nullptr);
}

} // namespace

namespace {

class FirstShowTest : public GuiTest
{};

// Each tab's panels are set up the first time the tab shows, once: the converter panel asks for its
// parameters, the batch parameter panel for the current folder.
TEST_F(FirstShowTest, EachTabsPanelsAreSetUpOnceWhenItFirstShows)
{
    QStringList asked;
    QObject::connect(
        &Window(), &OrvaneMainWindow::GetConverterParameters, &Window(),
        [&](int converter, CParameters**) { asked.append(QStringLiteral("parameters %1").arg(converter)); });
    QObject::connect(&Window(), &OrvaneMainWindow::GetCurrentPath, &Window(),
                     [&](QString&) { asked.append(QStringLiteral("path")); });
    Window().LoadSettings(SettingsPath());
    asked.clear();
    Tabs().ShowPage(COrvTabview::BATCH_TAB);
    EXPECT_TRUE(asked.isEmpty()); // nothing shows yet
    Tabs().ShowPage(COrvTabview::MEDIA_TAB);
    Window().show();
    // The source panel takes the program's folder and announces converter 0, whose parameters the converter
    // panel shows; then the converter panel's own first show asks again; the destination takes the folder.
    const QStringList media{QStringLiteral("path"), QStringLiteral("parameters 0"), QStringLiteral("parameters 0"),
                            QStringLiteral("path")};
    EXPECT_EQ(asked, media);
    Tabs().ShowPage(COrvTabview::BATCH_TAB);
    Tabs().ShowPage(COrvTabview::MEDIA_TAB);
    Tabs().ShowPage(COrvTabview::BATCH_TAB);
    // Without settings the batch source panel asks for its folder too, then the parameter panel and the batch
    // destination take it.
    EXPECT_EQ(asked, media + QStringList({QStringLiteral("path"), QStringLiteral("path"), QStringLiteral("path")}));
}

} // namespace
