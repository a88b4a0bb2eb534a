// The window at the sizes a new user meets it (800 x 600 and 1024 x 768) on the built application folder: the
// media tab with the MSEQ form, the media tab converting (its progress text beside the phone's name), the SMS
// tab with a translator's form, the batch tab with every converter checked and the animation resize dialog on a
// 300 x 200 animation. Every caption is shown whole, no form needs sideways
// scrolling, every batch row shows its parameter file field, and file names get their room before the date.
// With ORV_SCREENSHOTS set to a folder, each view is kept there as a picture (the smoke test does so on the
// virtual display).
#include "Documents/CDocumentAbstract.h"
#include "Documents/CDocumentAnimation.h"
#include "Gui/Browsing/CFileSelectorControl.h"
#include "Gui/Browsing/CSelectorEdit.h"
#include "Gui/Browsing/FileLineControls.h"
#include "Gui/Panels/CConverterPanel.h"
#include "Gui/Panels/CDestinationSelectorPanel.h"
#include "Gui/Panels/CMediaSelectorPanel.h"
#include "Gui/Panels/CParamsSelectorPanel.h"
#include "Gui/Panels/CSmsBuilderPanel.h"
#include "Gui/Panels/CSmsSelectorPanel.h"
#include "Gui/Parameters/CParameterView.h"
#include "Gui/Parameters/ParameterElements.h"
#include "Gui/Parameters/ParameterTable.h"
#include "Gui/Preview/CPreviewPanel.h"
#include "Gui/Resize/CResizeGIFDialog.h"
#include "Gui/Window/COrvTabview.h"
#include "GuiTestSupport.h"
#include "Host/CLocalFileInfo.h"
#include "QtPrinters.h"
#include "ScratchApp.h"
#include "Text/CLanguageResources.h"
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QSpinBox>
#include <QStatusBar>
#include <QTest>
#include <QTreeWidget>

namespace {

// The texts of the visible labels under root that their label cuts off.
QStringList ClippedLabels(QWidget* root)
{
    QStringList clipped;
    for (QLabel* label : root->findChildren<QLabel*>()) {
        if (!label->isVisibleTo(root) || label->text().isEmpty() || !label->pixmap().isNull())
            continue;
        const QRect room = label->contentsRect();
        const bool fits =
            label->wordWrap()
                ? label->heightForWidth(label->width()) <= label->height()
                      && label->fontMetrics().horizontalAdvance(label->text().section(QLatin1Char(' '), 0, 0))
                             <= room.width()
                : label->fontMetrics().horizontalAdvance(label->text()) <= room.width();
        if (!fits)
            clipped.append(label->text());
    }
    return clipped;
}

// Whether the widget lies in a table of the form, which scrolls sideways on its own.
bool InTable(const QWidget* widget)
{
    for (const QWidget* above = widget; above; above = above->parentWidget())
        if (qobject_cast<const Table*>(above))
            return true;
    return false;
}

// Whether the scroll area's content needs sideways scrolling.
bool ScrollsSideways(const QScrollArea* area)
{
    return area->widget() && area->widget()->minimumSizeHint().width() > area->viewport()->width();
}

class ScreenTourTest : public AppFolderWindowTest
{
protected:
    void SetUp() override
    {
        EngineTest::SetUp();
        StartWindow(ORV_APP_DIR);
        m_Window->LoadSettings(In(QStringLiteral("none.xml")));
        for (const char* name : {"morning.mid", "greeting.ecd", "postcard.ecd", "logo.png", "hello.wav"})
            Write(QStringLiteral("media/") + QString::fromLatin1(name),
                  ReadAll(QStringLiteral(ORV_SOURCE_DIR "/examples/") + QString::fromLatin1(name)));
        Tabs().mpMediaSelectorPanel->SetCurrentPath(In(QStringLiteral("media")));
        Tabs().mpSmsSelectorPanel->SetCurrentFolder(In(QStringLiteral("media")));
    }
    void Show(const QSize& size)
    {
        m_Window->resize(size);
        m_Window->show();
        Settle();
    }
    static void Settle()
    {
        for (int i = 0; i < 5; ++i)
            QCoreApplication::processEvents();
    }
    // Keeps a picture of the widget when the run asks for pictures.
    static void Keep(QWidget* widget, const char* name)
    {
        const QByteArray folder = qgetenv("ORV_SCREENSHOTS");
        if (folder.isEmpty())
            return;
        Settle();
        widget->grab().save(QString::fromLocal8Bit(folder) + QLatin1Char('/') + QString::fromLatin1(name));
    }
    static int IndexStarting(QComboBox* combo, const char* start)
    {
        for (int i = 0; i < combo->count(); ++i)
            if (combo->itemText(i).startsWith(QLatin1String(start), Qt::CaseInsensitive))
                return i;
        return -1;
    }
    static void Choose(QComboBox* combo, int index)
    {
        combo->setCurrentIndex(index);
        emit combo->activated(index);
    }
    void ChoosePhone(const char* name)
    {
        QStringList profiles;
        emit m_Window->GetProfileNameList(profiles);
        const int index = int(profiles.indexOf(QString::fromLatin1(name)));
        ASSERT_GE(index, 0) << profiles.join(QLatin1Char(',')).toStdString();
        m_Window->SetCurrentProfile(index);
    }
    // The form of the converter whose name starts so, for a melody on the phone.
    void ShowForm(const QSize& size, const char* phone, const char* converter)
    {
        Show(size);
        ChoosePhone(phone);
        Tabs().ShowPage(COrvTabview::MEDIA_TAB);
        Settle();
        QComboBox* converters = Tabs().mpMediaSelectorPanel->GetConverterSelector();
        int mseq = -1;
        QStringList names;
        for (int i = 0; i < converters->count(); ++i) {
            names.append(converters->itemText(i));
            if (converters->itemText(i).startsWith(QLatin1String(converter)))
                mseq = i;
        }
        ASSERT_GE(mseq, 0) << names.join(QLatin1Char(',')).toStdString();
        Choose(converters, mseq);
        const CLocalFileInfo song(In(QStringLiteral("media/morning.mid")));
        Tabs().mpMediaSelectorPanel->UpdatePanel(&song);
        Settle();
    }
    void ShowTranslatorForm(const QSize& size)
    {
        Show(size);
        Tabs().ShowPage(COrvTabview::SMS_TAB);
        QComboBox* translators = Tabs().mpSmsSelectorPanel->GetConverterSelector();
        const int ems = IndexStarting(translators, "EMS");
        ASSERT_GE(ems, 0);
        Choose(translators, ems);
        Settle();
    }
    void ShowBatchAllChecked(const QSize& size)
    {
        Show(size);
        Tabs().ShowPage(COrvTabview::BATCH_TAB);
        Settle();
        for (CSelectorEdit* row : Tabs().mpParamsSelectorPanel->GetRows())
            row->GetCheckBox()->setChecked(true);
        Settle();
    }
    static QScrollArea* FormArea(QWidget* panel)
    {
        return panel->findChild<QScrollArea*>(QStringLiteral("QScrollView"));
    }
};

const QSize SMALL(800, 600);
const QSize MEDIUM(1024, 768);

TEST_F(ScreenTourTest, TheMelodyFormShowsItsCaptionsAndUnitsWholeWithoutSidewaysScrolling)
{
    // The iMelody form, with its tempo "beats per minute", on the first phone.
    for (const QSize& size : {SMALL, MEDIUM}) {
        SCOPED_TRACE(size.width());
        ShowForm(size, "Model A", "iMelody");
        CConverterPanel* converter = Tabs().mpConverterPanel;
        ASSERT_FALSE(converter->GetParameterView()->GetElements().isEmpty());
        EXPECT_EQ(ClippedLabels(converter), QStringList());
        EXPECT_FALSE(ScrollsSideways(FormArea(converter))) << FormArea(converter)->widget()->minimumSizeHint().width()
                                                           << " in " << FormArea(converter)->viewport()->width();
    }
}

TEST_F(ScreenTourTest, TheMseqFormShowsEveryCaptionWholeAndAllOfItsTableFrom1024On)
{
    for (const QSize& size : {SMALL, MEDIUM}) {
        SCOPED_TRACE(size.width());
        ShowForm(size, "Model C", "SEQ");
        CConverterPanel* converter = Tabs().mpConverterPanel;
        ASSERT_FALSE(converter->GetParameterView()->GetElements().isEmpty());
        EXPECT_EQ(ClippedLabels(converter), QStringList());
        // The form keeps to its area, so every caption and unit beside a field is in sight ("voices (0: the
        // phone's)"); its table of instruments has five columns and scrolls sideways on its own at 800 x 600: from
        // 1024 x 768 on they all show.
        EXPECT_FALSE(ScrollsSideways(FormArea(converter))) << FormArea(converter)->widget()->minimumSizeHint().width()
                                                           << " in " << FormArea(converter)->viewport()->width();
        const int viewRight = FormArea(converter)->viewport()->width();
        for (QLabel* label : FormArea(converter)->widget()->findChildren<QLabel*>()) {
            if (label->isVisibleTo(converter) && !label->text().isEmpty() && !InTable(label))
                EXPECT_LE(label->mapTo(FormArea(converter)->viewport(), QPoint(label->width(), 0)).x(), viewRight)
                    << label->text().toStdString();
        }
        auto* table = converter->GetParameterView()->findChild<Table*>();
        ASSERT_NE(table, nullptr);
        auto* tableArea = qobject_cast<QScrollArea*>(table->parentWidget()->parentWidget());
        ASSERT_NE(tableArea, nullptr);
        if (size == MEDIUM)
            EXPECT_EQ(tableArea->horizontalScrollBar()->maximum(), 0);
        if (size == SMALL) {
            Keep(m_Window.get(), "media-mseq.png");
            // The whole form, as scrolling through it shows it.
            Keep(FormArea(converter)->widget(), "media-mseq-form.png");
        }
    }
}

TEST_F(ScreenTourTest, TabLeadsThroughTheFormScrollingOnlyAsFarAsTheFieldNeeds)
{
    for (const QSize& size : {SMALL, MEDIUM}) {
        SCOPED_TRACE(size.width());
        ShowForm(size, "Model B", "iMelody");
        QScrollArea* area = FormArea(Tabs().mpConverterPanel);
        QList<QWidget*> fields;
        for (Element* element : Tabs().mpConverterPanel->GetParameterView()->GetElements())
            if (auto* simple = dynamic_cast<SimpleElement*>(element); simple && simple->isEnabled())
                fields.append(simple->GetValueWidget());
        ASSERT_GE(fields.size(), 3);
        area->verticalScrollBar()->setValue(0);
        // Only an active window tells a field that the focus left it.
        m_Window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(m_Window.get()));
        auto* tempo = qobject_cast<QSpinBox*>(fields.first());
        ASSERT_NE(tempo, nullptr);
        tempo->setFocus();
        tempo->selectAll();
        QTest::keyClicks(tempo, QStringLiteral("150"));
        // Each Tab leads to the next field of the form; the form moves only to bring it whole into view.
        for (int i = 1; i < fields.size(); ++i) {
            const int before = area->verticalScrollBar()->value();
            QTest::keyClick(m_Window->focusWidget(), Qt::Key_Tab);
            ASSERT_EQ(m_Window->focusWidget(), fields.at(i)) << i;
            const QRect field(fields.at(i)->mapTo(area->viewport(), QPoint(0, 0)), fields.at(i)->size());
            EXPECT_TRUE(area->viewport()->rect().contains(field)) << i << " " << field;
            if (area->verticalScrollBar()->value() != before) {
                EXPECT_TRUE(field.top() <= 10 || field.bottom() >= area->viewport()->height() - 10)
                    << i << " " << field;
            }
            if (i == 1) {
                EXPECT_EQ(area->verticalScrollBar()->value(), before);
                EXPECT_EQ(tempo->text(), QStringLiteral("150"));
                Keep(m_Window.get(), size == SMALL ? "media-form-tab.png" : "media-form-tab-1024.png");
            }
        }
    }
}

TEST_F(ScreenTourTest, TheMediaTabShowsItsProgressTextBesideThePhoneDuringAConversion)
{
    ShowForm(SMALL, "Model A", "iMelody");
    QStatusBar* bar = m_Window->statusBar();
    QString shown;
    int room = 0;
    // Taken at the first report in the middle of the work.
    QObject::connect(m_Window->GetProgressBar(), &QProgressBar::valueChanged, m_Window.get(), [&](int value) {
        if (!shown.isEmpty() || value <= 0 || value >= 100)
            return;
        shown = bar->currentMessage();
        room = m_Window->GetProfileLabel()->geometry().left();
        Keep(m_Window.get(), "media-converting.png");
    });
    CDestinationSelectorPanel* out = Tabs().mpMediaDestinationPanel;
    ASSERT_TRUE(out->GetConvertButton()->isEnabled());
    out->ConvertButtonClicked();
    EXPECT_EQ(shown, CLanguageResources::GetMessage(QStringLiteral("COrvApplication"), QStringLiteral("id_processing"))
                         .arg(QStringLiteral("morning.mid")));
    EXPECT_GE(room, bar->fontMetrics().horizontalAdvance(shown));
    EXPECT_EQ(m_Window->GetProfileLabel()->text(), QStringLiteral("Model A"));
}

TEST_F(ScreenTourTest, TheTranslatorFormShowsEveryCaptionWhole)
{
    for (const QSize& size : {SMALL, MEDIUM}) {
        SCOPED_TRACE(size.width());
        ShowTranslatorForm(size);
        CSmsBuilderPanel* builder = Tabs().mpSmsBuilderPanel;
        ASSERT_FALSE(builder->GetParameterView()->GetElements().isEmpty());
        EXPECT_EQ(ClippedLabels(builder), QStringList());
        EXPECT_FALSE(ScrollsSideways(FormArea(builder)));
        if (size == SMALL)
            Keep(m_Window.get(), "sms-translator.png");
    }
}

TEST_F(ScreenTourTest, EveryBatchRowShowsItsParameterFileField)
{
    for (const QSize& size : {MEDIUM, SMALL}) {
        SCOPED_TRACE(size.width());
        ShowBatchAllChecked(size);
        CParamsSelectorPanel* params = Tabs().mpParamsSelectorPanel;
        QScrollArea* area = FormArea(params);
        ASSERT_FALSE(params->GetRows().isEmpty());
        EXPECT_FALSE(ScrollsSideways(area));
        for (CSelectorEdit* row : params->GetRows()) {
            const QRect field(row->GetLineEdit()->mapTo(area->viewport(), QPoint(0, 0)), row->GetLineEdit()->size());
            EXPECT_TRUE(area->viewport()->rect().contains(QRect(field.topLeft(), QSize(field.width(), 1))))
                << row->GetCaption().toStdString() << " " << field;
            EXPECT_GE(field.width(), 60) << row->GetCaption().toStdString();
            EXPECT_EQ(ClippedLabels(row), QStringList());
        }
        if (size == SMALL)
            Keep(m_Window.get(), "batch-all-converters.png");
    }
}

TEST_F(ScreenTourTest, FileNamesGetTheirRoomBeforeTheDate)
{
    Show(SMALL);
    Tabs().ShowPage(COrvTabview::MEDIA_TAB);
    Settle();
    CFileSelectorControl* list = Tabs().mpMediaSelectorPanel->GetFileList();
    ASSERT_GT(list->topLevelItemCount(), 0);
    int widest = 0;
    for (int i = 0; i < list->topLevelItemCount(); ++i)
        widest = qMax(widest, list->fontMetrics().horizontalAdvance(list->topLevelItem(i)->text(0)));
    // The name column holds the longest name; when the list is narrow the date, whole in its own column, moves
    // out of sight rather than the names.
    EXPECT_GE(list->columnWidth(0), qMin(widest, list->viewport()->width() / 2));
    EXPECT_EQ(list->header()->visualIndex(0), 0);
}

// At 800 x 600 every converter's name reads whole in its combo, or ends in "..." with the whole name first in the
// tool tip; the list's type and date columns hold their entries whole.
TEST_F(ScreenTourTest, ConverterNamesAndDatesReadWhole)
{
    Show(SMALL);
    Tabs().ShowPage(COrvTabview::MEDIA_TAB);
    Settle();
    CConverterSelectorControl* converters = Tabs().mpMediaSelectorPanel->GetConverterSelector();
    QStringList profiles;
    emit m_Window->GetProfileNameList(profiles);
    int cut = 0;
    for (int profile = 0; profile < profiles.size(); ++profile) {
        m_Window->SetCurrentProfile(profile);
        Settle();
        for (int i = 0; i < converters->count(); ++i) {
            Choose(converters, i);
            const QString whole = converters->currentText();
            const QString shown = converters->GetShownText();
            if (shown == whole)
                continue;
            ++cut;
            EXPECT_TRUE(shown.endsWith(QChar(0x2026))) << shown.toStdString();
            EXPECT_TRUE(converters->GetShownToolTip().startsWith(whole + QLatin1Char('\n')))
                << converters->GetShownToolTip().toStdString();
        }
    }
    RecordProperty("converter names cut", cut);
    CFileSelectorControl* list = Tabs().mpMediaSelectorPanel->GetFileList();
    ASSERT_GT(list->topLevelItemCount(), 0);
    for (const int column : {int(CFileSelectorControl::TYPE_COLUMN), int(CFileSelectorControl::DATE_COLUMN)}) {
        for (int i = 0; i < list->topLevelItemCount(); ++i) {
            const QString text = list->topLevelItem(i)->text(column);
            // The cell's margins take a few pixels beside the text.
            EXPECT_GE(list->columnWidth(column), list->fontMetrics().horizontalAdvance(text) + 6) << text.toStdString();
        }
    }
}

TEST_F(ScreenTourTest, TheRawDataWindowOpensWideEnoughForItsAsciiColumn)
{
    Show(SMALL);
    CDestinationSelectorPanel* out = Tabs().mpMediaDestinationPanel;
    CDocumentAbstract raw;
    const QByteArray bytes(40, 'A');
    raw.SetData(bytes.constData(), uint32_t(bytes.size()));
    out->GetRawDataPreview()->LoadMedia(&raw);
    QDialog* window = out->GetRawDataWindow();
    ASSERT_NE(window, nullptr);
    window->show();
    Settle();
    QTreeWidget* hex = out->GetRawDataPreview()->GetHexList();
    const int columns = hex->header()->sectionViewportPosition(2) + hex->header()->sectionSize(2);
    EXPECT_LE(columns, hex->viewport()->width());
    window->hide();
    out->GetRawDataPreview()->LoadMedia(nullptr);
}

TEST_F(ScreenTourTest, TheAnimationDialogOnA300By200Animation)
{
    CDocumentAnimation animation;
    for (int i = 0; i < 3; ++i) {
        QImage frame(300, 200, QImage::Format_ARGB32);
        frame.fill(Qt::white);
        QPainter painter(&frame);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setBrush(QColor(40 + 80 * i, 90, 200));
        painter.drawEllipse(QPoint(150, 100), 90, 90);
        painter.end();
        animation.AppendFrame(frame, 200);
    }
    CResizeGIFDialog dialog(nullptr, Qt::Dialog);
    dialog.setWindowTitle(
        CLanguageResources::GetMessage(QStringLiteral("COrvApplication"), QStringLiteral("id_animated_gif_offered")));
    dialog.SetFormat(QStringLiteral("ANI"));
    const QList<QSize> sizes{{128, 128}, {96, 64}, {32, 32}};
    dialog.SetCropSizeList(sizes);
    dialog.SetScaleSizeList(sizes);
    dialog.SetMaxKeptFrames(8);
    dialog.SetAnimation(&animation);
    dialog.show();
    Settle();
    EXPECT_LE(dialog.width(), SMALL.width());
    EXPECT_LE(dialog.height(), SMALL.height());
    EXPECT_EQ(ClippedLabels(&dialog), QStringList());
    Keep(&dialog, "animation-dialog.png");
}

} // namespace
