// The help window and its picture buttons.
#include "Gui/Widgets/CPushButton.h"
#include "Gui/Window/CHelpWnd.h"
#include "GuiTestSupport.h"
#include "QtPrinters.h"
#include <QMenu>
#include <QSignalSpy>
#include <QTest>
#include <QTextBrowser>

namespace {

QPixmap Filled(const QColor& colour)
{
    QPixmap pixmap(20, 10);
    pixmap.fill(colour);
    return pixmap;
}

class PictureButtonTest : public GuiTest
{
protected:
    void SetUp() override
    {
        GuiTest::SetUp();
        m_Pictures.reset(new Pictures{Filled(Qt::white), Filled(Qt::blue), Filled(Qt::gray)});
        m_Button = std::make_unique<CPushButton>(m_Normal(), m_Activated(), m_Disabled(), nullptr);
        m_Button->show();
    }
    void TearDown() override
    {
        m_Button.reset();
        m_Pictures.reset();
        GuiTest::TearDown();
    }
    qint64 Shown() const { return m_Button->CurrentPixmap().cacheKey(); }

    // Pictures are made once the application exists.
    struct Pictures
    {
        QPixmap normal;
        QPixmap activated;
        QPixmap disabled;
    };
    const QPixmap& m_Normal() const { return m_Pictures->normal; }
    const QPixmap& m_Activated() const { return m_Pictures->activated; }
    const QPixmap& m_Disabled() const { return m_Pictures->disabled; }
    std::unique_ptr<Pictures> m_Pictures;
    std::unique_ptr<CPushButton> m_Button;
};

TEST_F(PictureButtonTest, AClickInsideEmitsClickedThenActivated)
{
    EXPECT_EQ(m_Button->size(), QSize(20, 10));
    QStringList order;
    QObject::connect(m_Button.get(), &CPushButton::Clicked, m_Button.get(),
                     [&] { order.append(QStringLiteral("clicked")); });
    QObject::connect(m_Button.get(), &CPushButton::Activated, m_Button.get(), [&](const QPoint& at, QMenu*) {
        order.append(QStringLiteral("activated"));
        EXPECT_EQ(at, m_Button->mapToGlobal(QPoint(0, 10)));
    });
    QTest::mousePress(m_Button.get(), Qt::LeftButton, Qt::NoModifier, QPoint(5, 5));
    EXPECT_EQ(Shown(), m_Activated().cacheKey());
    QTest::mouseRelease(m_Button.get(), Qt::LeftButton, Qt::NoModifier, QPoint(5, 5));
    EXPECT_EQ(order, (QStringList{QStringLiteral("clicked"), QStringLiteral("activated")}));
    EXPECT_EQ(Shown(), m_Normal().cacheKey());
}

TEST_F(PictureButtonTest, ReleasingOutsideEmitsNothing)
{
    QSignalSpy clicked(m_Button.get(), &CPushButton::Clicked);
    QTest::mousePress(m_Button.get(), Qt::LeftButton, Qt::NoModifier, QPoint(5, 5));
    // The first row and column count as outside.
    QTest::mouseRelease(m_Button.get(), Qt::LeftButton, Qt::NoModifier, QPoint(0, 5));
    EXPECT_EQ(clicked.count(), 0);
    EXPECT_EQ(Shown(), m_Normal().cacheKey());
}

TEST_F(PictureButtonTest, DraggingOutAndBackTogglesThePicture)
{
    QTest::mousePress(m_Button.get(), Qt::LeftButton, Qt::NoModifier, QPoint(5, 5));
    QMouseEvent out(QEvent::MouseMove, QPointF(30, 5), m_Button->mapToGlobal(QPointF(30, 5)), Qt::NoButton,
                    Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(m_Button.get(), &out);
    EXPECT_EQ(Shown(), m_Normal().cacheKey());
    QMouseEvent back(QEvent::MouseMove, QPointF(6, 6), m_Button->mapToGlobal(QPointF(6, 6)), Qt::NoButton,
                     Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(m_Button.get(), &back);
    EXPECT_EQ(Shown(), m_Activated().cacheKey());
    QTest::mouseRelease(m_Button.get(), Qt::LeftButton, Qt::NoModifier, QPoint(6, 6));
}

TEST_F(PictureButtonTest, ADisabledButtonShowsItsPictureAndIgnoresClicks)
{
    QSignalSpy clicked(m_Button.get(), &CPushButton::Clicked);
    m_Button->setEnabled(false);
    EXPECT_EQ(Shown(), m_Disabled().cacheKey());
    QTest::mouseClick(m_Button.get(), Qt::LeftButton, Qt::NoModifier, QPoint(5, 5));
    EXPECT_EQ(clicked.count(), 0);
    m_Button->setEnabled(true);
    EXPECT_EQ(Shown(), m_Normal().cacheKey());
}

class HelpWindowTest : public GuiTest
{};

TEST_F(HelpWindowTest, ShowingAgainReturnsToTheGivenPage)
{
    Write(QStringLiteral("help/index.html"),
          "<html><body><a name=\"top\"></a><a href=\"other.html\">other</a></body></html>");
    Write(QStringLiteral("help/other.html"), "<html><body>other page</body></html>");
    CHelpWnd help(nullptr, QStringLiteral("help"), false, Qt::Window);
    EXPECT_FALSE(help.testAttribute(Qt::WA_QuitOnClose));
    QString page = In(QStringLiteral("help/index.html#top"));
    help.setSource(page);
    const QUrl url = help.GetBrowser()->source();
    EXPECT_EQ(url.toLocalFile(), In(QStringLiteral("help/index.html")));
    EXPECT_EQ(url.fragment(), QStringLiteral("top"));
    EXPECT_FALSE(help.GetBackwardButton()->isEnabled());

    help.show();
    help.GetBrowser()->setSource(QUrl::fromLocalFile(In(QStringLiteral("help/other.html"))));
    EXPECT_TRUE(help.GetBackwardButton()->isEnabled());
    help.hide();
    help.show();
    EXPECT_EQ(help.GetBrowser()->source().toLocalFile(), In(QStringLiteral("help/index.html")));
    // The home button goes back to the first page too.
    help.GetBrowser()->setSource(QUrl::fromLocalFile(In(QStringLiteral("help/other.html"))));
    QTest::mouseClick(help.GetHomeButton(), Qt::LeftButton, Qt::NoModifier, QPoint(5, 5));
    EXPECT_EQ(help.GetBrowser()->source().toLocalFile(), In(QStringLiteral("help/index.html")));
}

TEST_F(HelpWindowTest, TheShippedPagesHaveTheirPicturesAndAnchor)
{
    CHelpWnd help(nullptr, QStringLiteral("help"), false, Qt::Window);
    EXPECT_FALSE(help.GetHomeButton()->CurrentPixmap().isNull());
    EXPECT_FALSE(help.GetBackwardButton()->CurrentPixmap().isNull());
    QString page = QStringLiteral(ORV_SOURCE_DIR "/data/app/Help/index.html#top");
    help.setSource(page);
    const QString html = help.GetBrowser()->toHtml();
    for (const char* section : {"media", "sms", "batch", "menus", "settings", "resize", "commandline"})
        EXPECT_TRUE(html.contains(QStringLiteral("#%1").arg(QString::fromLatin1(section)))) << section;
}

TEST_F(HelpWindowTest, TheShippedPageNamesTheBoxesAsTheyRead)
{
    const QString page = QString::fromUtf8(ReadAll(QStringLiteral(ORV_SOURCE_DIR "/data/app/Help/index.html")));
    const QString rawData = GuiMessage("CDestinationSelectorPanel", "id_raw_data_caption");
    ASSERT_FALSE(rawData.isEmpty());
    EXPECT_TRUE(page.contains(QStringLiteral("tick ") + rawData));
    EXPECT_FALSE(page.contains(QStringLiteral("RawData")));
    // The free size is there only when the phone's profile offers it.
    EXPECT_TRUE(page.contains(QLatin1Char('"') + GuiMessage("CResizeDialog", "id_free") + QLatin1Char('"')));
    EXPECT_TRUE(page.contains(QStringLiteral("whose profile offers it")));
}

} // namespace
