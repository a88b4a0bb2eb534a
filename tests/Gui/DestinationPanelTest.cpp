// The destination panel: result names, convert and save from the media tab, the result file preview with its
// questions, and the batch list that Launch hands over.
#include "Core/CBatchInfo.h"
#include "Core/CGenerationInfo.h"
#include "Gui/Browsing/CDiskSelectorControl.h"
#include "Gui/Browsing/CFileSelectorControl.h"
#include "Gui/Browsing/FileLineControls.h"
#include "Gui/Panels/CConverterPanel.h"
#include "Gui/Panels/CDestinationSelectorPanel.h"
#include "Gui/Panels/CMediaSelectorPanel.h"
#include "Gui/Panels/CSmsSelectorPanel.h"
#include "Gui/Preview/CPreviewPanel.h"
#include "Gui/Window/COrvTabview.h"
#include "GuiTestSupport.h"
#include "Host/CLocalFileInfo.h"
#include "Parameters/CParameters.h"
#include "QtPrinters.h"
#include "Text/CLanguageResources.h"
#include <QApplication>
#include <QCheckBox>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QPushButton>
#include <QSignalSpy>
#include <cerrno>
#include <cstring>

namespace {

QString PanelText(const char* id)
{
    return CLanguageResources::GetMessage(QStringLiteral("CDestinationSelectorPanel"), QString::fromLatin1(id));
}

TEST(ResultNames, TheBaseEndsAtTheFirstDotUnlessTheNameStartsWithOne)
{
    const std::pair<const char*, const char*> cases[] = {
        {"clip.wav", "clip."}, {"/a.b/clip.long.wav", "clip."}, {"noext", "noext."}, {".x.wav", ".x."},
        {".hidden", "."},
    };
    for (const auto& c : cases)
        EXPECT_EQ(CDestinationSelectorPanel::ProposedBaseName(QString::fromLatin1(c.first)),
                  QString::fromLatin1(c.second))
            << c.first;
}

TEST(ResultNames, ABatchSourceQualifiesByItsFileNamesEnding)
{
    const struct
    {
        const char* path;
        const char* extension;
        bool matches;
    } cases[] = {
        {"/F/a.MID", "mid", true},      {"/F/b.wav", "wav", true}, {"/F/.wav", "wav", false},
        {"/x.wav/c.txt", "wav", false}, {"/F/awav", "wav", false}, {"/F/a.wav", "w.v", false},
        {"/F/a.w.v", "w.v", true},
    };
    for (const auto& c : cases)
        EXPECT_EQ(
            CDestinationSelectorPanel::HasExtension(QString::fromLatin1(c.path), QString::fromLatin1(c.extension)),
            c.matches)
            << c.path << " " << c.extension;
}

class DestinationPanelTest : public GuiTest
{
protected:
    // The box of a file that could not be saved for the system's error.
    static QString FailedToSave(const QString& file, int error)
    {
        return GuiMessage("COrvApplication", "id_failed_to_save")
            .arg(file, QString::fromLocal8Bit(std::strerror(error)));
    }
    void SetUp() override
    {
        GuiTest::SetUp();
        Write(QStringLiteral("media/Song.txt"), "preview");
        m_Out = In(QStringLiteral("out"));
        QDir().mkpath(m_Out);
        Source().SetCurrentPath(In(QStringLiteral("media")));
        Out().SetOutputFolder(m_Out);
        Window().show();
    }
    CMediaSelectorPanel& Source() { return *Tabs().mpMediaSelectorPanel; }
    CDestinationSelectorPanel& Out() { return *Tabs().mpMediaDestinationPanel; }
    void LoadSong()
    {
        const CLocalFileInfo info(In(QStringLiteral("media/Song.txt")));
        Source().UpdatePanel(&info);
    }
    // Loads the song and converts it with the chosen converter.
    void ConvertSong()
    {
        LoadSong();
        Out().ConvertButtonClicked();
    }
    B32 Saved()
    {
        B32 saved = 7;
        Out().IsSaved(&saved);
        return saved;
    }
    void ClickResult(const QString& name)
    {
        CFileSelectorControl* list = Out().GetFileList();
        for (int i = 0; i < list->topLevelItemCount(); ++i)
            if (list->topLevelItem(i)->text(0) == name) {
                list->setCurrentItem(list->topLevelItem(i));
                Out().Clicked(list->topLevelItem(i));
                return;
            }
        ADD_FAILURE() << "no " << name.toStdString() << " in the list";
    }

    QString m_Out;
};

TEST_F(DestinationPanelTest, ALoadedSourceProposesItsResultNameAndEnablesConvertOnly)
{
    EXPECT_FALSE(Out().GetConvertButton()->isEnabled());
    EXPECT_FALSE(Out().GetSaveButton()->isEnabled());
    // So does Generate, before the SMS page has ever been shown.
    EXPECT_FALSE(Tabs().mpSmsDestinationPanel->GetGenerateButton()->isEnabled());
    LoadSong();
    EXPECT_EQ(Out().GetDestFileIndicator()->text(), QStringLiteral("Song.TST"));
    EXPECT_TRUE(Out().GetConvertButton()->isEnabled());
    EXPECT_FALSE(Out().GetSaveButton()->isEnabled());
    Source().CloseMediaDialog();
    EXPECT_EQ(Out().GetDestFileIndicator()->text(), QString());
    EXPECT_FALSE(Out().GetConvertButton()->isEnabled());
    // A name that starts with a dot keeps a base.
    QString hidden = QStringLiteral(".x.long.txt");
    Out().IndicateDestFile(hidden, Source().GetConverterSelector()->findText(QStringLiteral("Test exporter")));
    EXPECT_EQ(Out().GetDestFileIndicator()->text(), QStringLiteral(".x.long.TST"));
}

TEST_F(DestinationPanelTest, ConvertShowsTheResultAndTheRawDataOnRequestThenSaveWritesIt)
{
    Out().GetRawDataCheckBox()->setChecked(true);
    ConvertSong();
    EXPECT_TRUE(Out().GetSaveButton()->isEnabled());
    EXPECT_NE(Out().GetResultPreview()->GetDocument(), nullptr);
    EXPECT_NE(Out().GetRawDataPreview()->GetDocument(), nullptr);
    EXPECT_TRUE(Out().GetRawDataWindow()->isVisible());
    QSignalSpy saved(&Out(), &CDestinationSelectorPanel::ResultFileSaved);
    Out().SaveButtonClicked();
    EXPECT_EQ(ReadAll(m_Out + QStringLiteral("/Song.TST")), ResultBytes());
    EXPECT_EQ(Saved(), 1);
    EXPECT_EQ(saved.count(), 1);
    Out().GetRawDataWindow()->hide();
}

// Ticked after a conversion, Raw data shows that result's bytes at once, in a window over the main window.
TEST_F(DestinationPanelTest, RawDataTickedAfterAConversionShowsItsResultAtOnce)
{
    ConvertSong();
    EXPECT_FALSE(Out().GetRawDataWindow()->isVisible());
    CDocument* raw = nullptr;
    emit Window().GetPreviewRawData(&raw);
    ASSERT_NE(raw, nullptr);
    Out().GetRawDataCheckBox()->setChecked(true);
    EXPECT_EQ(Out().GetRawDataPreview()->GetDocument(), raw);
    EXPECT_TRUE(Out().GetRawDataWindow()->isVisible());
    EXPECT_EQ(Out().GetRawDataWindow()->parentWidget()->window(), &Window());
    Out().GetRawDataWindow()->hide();
    // Without a result, ticking it shows nothing.
    Out().GetRawDataCheckBox()->setChecked(false);
    Source().CloseMediaDialog();
    Out().GetRawDataCheckBox()->setChecked(true);
    EXPECT_FALSE(Out().GetRawDataWindow()->isVisible());
}

// The waiting popup is gone before the box of a failed conversion opens.
TEST_F(DestinationPanelTest, TheWaitingPopupClosesBeforeAFailureBoxOpens)
{
    Write(QStringLiteral("media/Song.txt"), "fail on purpose");
    int boxes = 0;
    QStringList popupsUp;
    m_GuiPrompt.mOnMessage = [&] {
        ++boxes;
        for (QWidget* widget : QApplication::topLevelWidgets())
            if (widget->isVisible() && widget->objectName() == QStringLiteral("Popup Dialog"))
                popupsUp.append(widget->windowTitle());
    };
    ConvertSong();
    m_GuiPrompt.mOnMessage = nullptr;
    EXPECT_EQ(boxes, 1);
    EXPECT_EQ(popupsUp, QStringList());
    EXPECT_FALSE(Out().GetSaveButton()->isEnabled());
}

TEST_F(DestinationPanelTest, MenusDoNothingWhileTheButtonsAreDisabled)
{
    ConvertSong();
    // A second file is loaded: the first one's result must not be saved under its name.
    Write(QStringLiteral("media/Other.txt"), "other");
    const CLocalFileInfo other(In(QStringLiteral("media/Other.txt")));
    m_GuiPrompt.mAnswers = {0}; // drop the unsaved result
    Source().UpdatePanel(&other);
    QSignalSpy asked(&Out(), &CDestinationSelectorPanel::SaveAsked);
    Out().SaveButtonClicked();
    m_GuiPrompt.mFileAnswer = m_Out + QStringLiteral("/Chosen");
    Out().SaveAs();
    EXPECT_EQ(asked.count(), 0);
    EXPECT_TRUE(m_GuiPrompt.mFileQuestions.isEmpty());
    Source().CloseMediaDialog();
    QSignalSpy converted(&Out(), &CDestinationSelectorPanel::ConvertionAsked);
    Out().ConvertButtonClicked();
    EXPECT_EQ(converted.count(), 0);
}

TEST_F(DestinationPanelTest, ARefusedOverwriteKeepsTheResultUnsaved)
{
    ConvertSong();
    Write(QStringLiteral("out/Song.TST"), "older");
    m_GuiPrompt.mAnswers = {1};
    Out().SaveButtonClicked();
    EXPECT_EQ(ReadAll(m_Out + QStringLiteral("/Song.TST")), "older");
    EXPECT_EQ(Saved(), 0);
}

TEST_F(DestinationPanelTest, AFailedSaveIsNotOfferedToTheSmsTab)
{
    const QString smsFolder = Tabs().mpSmsSelectorPanel->GetCurrentFolder();
    QStringList announced;
    QObject::connect(&Out(), &CDestinationSelectorPanel::ResultFileSaved, &Out(),
                     [&announced](QString& path) { announced.append(path); });
    // Each way the destination can refuse the write, and the system's reason that the box gives: its folder
    // replaced by a file, a folder in the result's place (answered Yes to the overwrite question), a folder that
    // may not be written.
    const std::pair<int, std::function<bool()>> refusals[] = {
        {ENOTDIR,
         [this] { return QDir(m_Out).removeRecursively() && !Write(QStringLiteral("out"), "a file").isEmpty(); }},
        {EISDIR,
         [this] {
             m_GuiPrompt.mAnswers = {0};
             return QDir().mkpath(m_Out + QStringLiteral("/Song.TST"));
         }},
        {EACCES,
         [this] {
             QFile::setPermissions(m_Out, QFile::ReadOwner | QFile::ExeOwner);
             // The super-user writes anyway: nothing to refuse then.
             return !QFileInfo(m_Out).isWritable();
         }},
    };
    int refused = 0;
    for (const auto& [error, refuse] : refusals) {
        SCOPED_TRACE(refused);
        QFile::setPermissions(m_Out, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QFile::remove(m_Out);
        QDir(m_Out).removeRecursively();
        QDir().mkpath(m_Out);
        // The last round's result goes without a question.
        Source().CloseMediaDialog();
        ConvertSong();
        m_GuiPrompt.mShown.clear();
        if (!refuse())
            continue;
        ++refused;
        Out().SaveButtonClicked();
        EXPECT_EQ(Saved(), 0);
        EXPECT_EQ(m_GuiPrompt.Messages(), OneMessage(GuiMessage("COrvApplication", "id_warning"),
                                                     FailedToSave(m_Out + QStringLiteral("/Song.TST"), error)));
        EXPECT_TRUE(announced.isEmpty());
        EXPECT_EQ(Tabs().mpSmsSelectorPanel->GetCurrentFolder(), smsFolder);
    }
    EXPECT_GE(refused, 2);
    QFile::setPermissions(m_Out, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    // A written result is offered.
    QDir(m_Out).removeRecursively();
    QDir().mkpath(m_Out);
    Source().CloseMediaDialog();
    ConvertSong();
    Out().SaveButtonClicked();
    EXPECT_EQ(Saved(), 1);
    EXPECT_EQ(announced, QStringList{m_Out + QStringLiteral("/Song.TST")});
}

TEST_F(DestinationPanelTest, ANewResultIsUnsavedWhateverWasSavedBeforeIt)
{
    ConvertSong();
    Out().SaveButtonClicked();
    ASSERT_EQ(Saved(), 1);
    // A value changed in the form, then Convert: the new result is on no disk yet.
    Tabs().mpConverterPanel->GetParameters()->GetIntParameter(QStringLiteral("Level"))->mValue = 5;
    Out().ConvertButtonClicked();
    EXPECT_EQ(Saved(), 0);
    m_GuiPrompt.mAnswers = {1};
    Window().CheckSavingBeforeQuit();
    EXPECT_EQ(m_GuiPrompt.mQuestions.size(), 1);
    EXPECT_TRUE(m_GuiPrompt.mQuestions.value(0).contains(GuiMessage("OrvaneMainWindow", "id_warning_text")));
}

TEST_F(DestinationPanelTest, ADestinationFolderReplacedByAFileIsSaidToBeGone)
{
    ConvertSong();
    ASSERT_TRUE(QDir(m_Out).removeRecursively());
    Write(QStringLiteral("out"), "a file");
    Out().SaveButtonClicked();
    // The folder box and the list speak of the same folder: the list is empty and says why.
    EXPECT_EQ(Out().GetDiskSelector()->GetCombo()->currentText(), m_Out);
    EXPECT_EQ(Out().GetFileList()->topLevelItemCount(), 0);
    EXPECT_EQ(Out().GetFileList()->GetEmptyText(), PanelText("id_folder_gone").arg(m_Out));
    // Once the folder is back, the next look shows it.
    QFile::remove(m_Out);
    Write(QStringLiteral("out/Older.TST"), "older");
    Out().DiskChanged(Out().GetDiskSelector()->GetCombo()->currentIndex());
    EXPECT_EQ(Out().GetFileList()->GetEmptyText(), QString());
    ASSERT_EQ(Out().GetFileList()->topLevelItemCount(), 1);
    EXPECT_EQ(Out().GetFileList()->topLevelItem(0)->text(0), QStringLiteral("Older.TST"));
}

TEST_F(DestinationPanelTest, APhoneWithoutTheConverterTakesAwayTheNameOfTheResultShown)
{
    ConvertSong();
    Out().GetPreviewCheckBox()->setChecked(true);
    Out().SaveButtonClicked();
    ClickResult(QStringLiteral("Song.TST"));
    ASSERT_EQ(Out().GetDestFileIndicator()->text(), QStringLiteral("Song.TST"));
    // The test exporter refuses this phone.
    QStringList phones;
    emit Window().GetProfileNameList(phones);
    Window().SetCurrentProfile(int(phones.indexOf(QStringLiteral("REFUSER"))));
    ASSERT_EQ(Source().GetConverterSelector()->findText(QStringLiteral("Test exporter")), -1);
    EXPECT_EQ(Out().GetDestFileIndicator()->text(), QString());
    EXPECT_FALSE(Out().GetDestFileIndicator()->isReadOnly());
}

TEST_F(DestinationPanelTest, AFailedSaveGivesTheReasonForTheResultAndForItsPreview)
{
    ConvertSong();
    ASSERT_TRUE(QDir(m_Out).removeRecursively());
    Write(QStringLiteral("out"), "a file");
    Out().GetPreviewCheckBox()->setChecked(true);
    Out().SaveButtonClicked();
    const QString warning = GuiMessage("COrvApplication", "id_warning") + QLatin1Char('|');
    EXPECT_EQ(m_GuiPrompt.Messages(),
              (QStringList{warning + FailedToSave(m_Out + QStringLiteral("/Song.TST"), ENOTDIR),
                           warning + FailedToSave(m_Out + QStringLiteral("/Song_previewTST.BMP"), ENOTDIR)}));
}

TEST_F(DestinationPanelTest, InTheBatchTabOnlyLaunchHasTheSmallFont)
{
    CDestinationSelectorPanel& batch = *Tabs().mpBatchDestinationPanel;
    auto* launch = batch.findChild<QPushButton*>(QStringLiteral("LaunchPushButton"));
    ASSERT_NE(launch, nullptr);
    EXPECT_EQ(launch->font().pointSize(), 8);
    EXPECT_EQ(batch.GetPreviewCheckBox()->font(), batch.font());
    EXPECT_EQ(Out().GetPreviewCheckBox()->font().pointSize(), 8);
}

TEST_F(DestinationPanelTest, SaveAsAppendsTheExtensionOnlyWhenTheNameLacksIt)
{
    // The name shown; the application writes the base name with the converter's extension.
    const std::pair<const char*, const char*> cases[] = {
        {"clip", "clip.TST"}, {"clip.tst", "clip.tst"}, {"tstclip", "tstclip"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.first);
        QDir(In(QStringLiteral("elsewhere"))).removeRecursively();
        ConvertSong();
        m_GuiPrompt.mFileAnswer = In(QStringLiteral("elsewhere/") + QString::fromLatin1(c.first));
        QDir().mkpath(In(QStringLiteral("elsewhere")));
        Out().SaveAs();
        EXPECT_EQ(m_GuiPrompt.mFileQuestions.last(),
                  QStringLiteral("save|") + m_Out + QStringLiteral("|(*.TST *.tst)"));
        EXPECT_EQ(Out().GetOutputFolder(), In(QStringLiteral("elsewhere")));
        EXPECT_EQ(Out().GetDiskSelector()->GetCombo()->currentText(), In(QStringLiteral("elsewhere")));
        EXPECT_EQ(Out().GetDestFileIndicator()->text(), QString::fromLatin1(c.second));
        EXPECT_TRUE(QFile::exists(In(QStringLiteral("elsewhere/"))
                                  + QString::fromLatin1(c.second).section(QLatin1Char('.'), 0, 0)
                                  + QStringLiteral(".TST")));
        EXPECT_EQ(Saved(), 1);
        Out().SetOutputFolder(m_Out);
        Out().GetDiskSelector()->GetCombo()->setItemText(Out().GetDiskSelector()->GetCombo()->currentIndex(), m_Out);
    }
}

struct PreviewCase
{
    const char* name;
    int seconds; // preview file older than the result by this much; -1: no preview file
    int answer;  // to the question, when one is asked
    bool asked;
    bool shown;
};

TEST_F(DestinationPanelTest, AClickedResultShowsItsPreviewAfterTheTenSecondRule)
{
    const PreviewCase cases[] = {
        {"fresh", 9, -1, false, true},
        {"ten seconds asks", 10, 0, true, true},
        {"old and refused", 60, 1, true, false},
        {"no preview", -1, -1, false, false},
    };
    for (const PreviewCase& c : cases) {
        SCOPED_TRACE(c.name);
        for (const QString& name : FilesIn(m_Out))
            QFile::remove(m_Out + QLatin1Char('/') + name);
        ConvertSong();
        Out().GetPreviewCheckBox()->setChecked(c.seconds >= 0);
        Out().SaveButtonClicked();
        const QString preview = m_Out + QStringLiteral("/Song_previewTST.BMP");
        if (c.seconds < 0)
            QFile::remove(preview);
        ASSERT_EQ(QFile::exists(preview), c.seconds >= 0);
        if (c.seconds >= 0) {
            QFile file(preview);
            ASSERT_TRUE(file.open(QIODevice::ReadWrite));
            const QDateTime result = QFileInfo(m_Out + QStringLiteral("/Song.TST")).lastModified();
            ASSERT_TRUE(file.setFileTime(result.addSecs(-c.seconds), QFileDevice::FileModificationTime));
        }
        m_GuiPrompt.mQuestions.clear();
        m_GuiPrompt.mShown.clear();
        m_GuiPrompt.mAnswers.clear();
        if (c.answer >= 0)
            m_GuiPrompt.mAnswers.append(c.answer);
        Out().DiskChanged(Out().GetDiskSelector()->GetCombo()->currentIndex());
        ClickResult(QStringLiteral("Song.TST"));
        EXPECT_EQ(m_GuiPrompt.mQuestions.size(), c.asked ? 1 : 0);
        if (c.asked) {
            EXPECT_TRUE(m_GuiPrompt.mQuestions.first().contains(PanelText("id_warning_preview_text")));
        }
        EXPECT_EQ(Out().GetResultPreview()->GetDocument() != nullptr, c.shown);
        if (c.seconds < 0) {
            EXPECT_EQ(m_GuiPrompt.Messages(), QStringList{PanelText("id_warning_preview_title") + QLatin1Char('|')
                                                          + PanelText("id_warning_no_preview_text")});
        }
        // Showing a saved result let the source go: no preview holds a document the application deleted.
        EXPECT_EQ(Loaded(), nullptr);
        EXPECT_EQ(Source().GetPreviewPanel()->GetDocument(), nullptr);
    }
}

TEST_F(DestinationPanelTest, AClickOnAResultAsksBeforeAnUnsavedResultGoes)
{
    ConvertSong();
    Out().GetPreviewCheckBox()->setChecked(true);
    Out().SaveButtonClicked();
    ConvertSong(); // a new result, not saved
    ASSERT_EQ(Saved(), 0);
    m_GuiPrompt.mQuestions.clear();
    m_GuiPrompt.mAnswers = {1};
    Out().DiskChanged(Out().GetDiskSelector()->GetCombo()->currentIndex());
    ClickResult(QStringLiteral("Song.TST"));
    ASSERT_EQ(m_GuiPrompt.mQuestions.size(), 1);
    EXPECT_TRUE(m_GuiPrompt.mQuestions.first().startsWith(PanelText("id_warning_title") + QLatin1Char('|')
                                                          + PanelText("id_warning_text")));
    EXPECT_NE(Loaded(), nullptr);
    B32 converted = 0;
    Out().IsConverted(&converted);
    EXPECT_EQ(converted, 1);
    EXPECT_NE(Out().GetResultPreview()->GetDocument(), nullptr);
}

TEST_F(DestinationPanelTest, WithWarningsOffAClickOnAResultAsksNothing)
{
    ConvertSong();
    Out().GetPreviewCheckBox()->setChecked(true);
    Out().SaveButtonClicked();
    // A preview a minute older than its result asks too while warnings are on.
    QFile preview(m_Out + QStringLiteral("/Song_previewTST.BMP"));
    ASSERT_TRUE(preview.open(QIODevice::ReadWrite));
    ASSERT_TRUE(preview.setFileTime(QFileInfo(m_Out + QStringLiteral("/Song.TST")).lastModified().addSecs(-60),
                                    QFileDevice::FileModificationTime));
    preview.close();
    ConvertSong(); // a new result, not saved
    ASSERT_EQ(Saved(), 0);
    emit Window().Warnings(0);
    m_GuiPrompt.mQuestions.clear();
    Out().DiskChanged(Out().GetDiskSelector()->GetCombo()->currentIndex());
    ClickResult(QStringLiteral("Song.TST"));
    EXPECT_EQ(m_GuiPrompt.mQuestions, QStringList());
    // As when both questions are answered Yes: the unsaved result goes and the file's preview shows.
    EXPECT_EQ(Loaded(), nullptr);
    EXPECT_NE(Out().GetResultPreview()->GetDocument(), nullptr);
}

TEST_F(DestinationPanelTest, LaunchHandsOverOneEntryPerCheckedRowWithMatchingSources)
{
    CDestinationSelectorPanel& batch = *Tabs().mpBatchDestinationPanel;
    batch.SetOutputFolder(m_Out);
    QObject::disconnect(&batch, nullptr, nullptr, nullptr);
    QObject::connect(&batch, &CDestinationSelectorPanel::GetSourceFileNameList, &batch, [](QStringList& list) {
        list = QStringList{QStringLiteral("/in/a.MID"), QStringLiteral("/in/b.wav"), QStringLiteral("/in/c.txt"),
                           QStringLiteral("/in/.wav")};
    });
    QObject::connect(&batch, &CDestinationSelectorPanel::GetParamsFileNameList, &batch, [](QStringList& list) {
        list = QStringList{QStringLiteral("p0.xml"), QStringLiteral("p1.xml"), QStringLiteral("p2.xml")};
    });
    QObject::connect(&batch, &CDestinationSelectorPanel::GetOriginalPath, &batch,
                     [](QString& path) { path = QStringLiteral("/in"); });
    QObject::connect(&batch, &CDestinationSelectorPanel::GetExtensionListForBatch, &batch,
                     [](int row, QStringList& list) {
                         list = QStringList{row == 0   ? QStringLiteral("mid")
                                            : row == 1 ? QStringLiteral("txt")
                                                       : QStringLiteral("wav")};
                     });
    QObject::connect(&batch, &CDestinationSelectorPanel::IsChecked, &batch,
                     [](B32* checked, int row) { *checked = row != 1; });
    QStringList entries;
    QObject::connect(&batch, &CDestinationSelectorPanel::LaunchAsked, &batch, [&](CBatchInfoList* list, B32, B32&) {
        for (int i = 0; i < list->count(); ++i)
            entries.append(QStringLiteral("%1 %2 %3 %4")
                               .arg(list->at(i)->GetConverterIndex())
                               .arg(list->at(i)->GetSourceFileList().join(QLatin1Char(',')),
                                    list->at(i)->GetParametersFileName(), list->at(i)->GetDestPath()));
    });
    batch.LaunchButtonClicked();
    EXPECT_EQ(entries, (QStringList{QStringLiteral("0 /in/a.MID p0.xml ") + m_Out,
                                    QStringLiteral("2 /in/b.wav p2.xml ") + m_Out}));
}

} // namespace

namespace {

// The preview lookup against stand-in answers: three converters, two of which export the same extension.
class PreviewLookupTest : public DestinationPanelTest
{
protected:
    void SetUp() override
    {
        DestinationPanelTest::SetUp();
        CDestinationSelectorPanel& out = Out();
        QObject::disconnect(&out, nullptr, nullptr, nullptr);
        QObject::connect(&out, &CDestinationSelectorPanel::GetNbOfConverters, &out, [](int* count) { *count = 3; });
        QObject::connect(
            &out, &CDestinationSelectorPanel::GetExportExtensionForConverter, &out, [](QString& extension, int i) {
                extension = i == 0 ? QStringLiteral("AAA") : i == 1 ? QStringLiteral("ANI") : QStringLiteral("ani");
            });
        QObject::connect(&out, &CDestinationSelectorPanel::GetPreviewFileList, &out,
                         [this](CDocument::DOCTYPE& type, QStringList& files, const QString& base, int converter) {
                             m_Asked.append(converter);
                             type = CDocument::ANIMATION;
                             for (int frame = 0; frame < 3; ++frame)
                                 files.append(base + QStringLiteral("_preview%1.BMP").arg(frame));
                         });
        QObject::connect(&out, &CDestinationSelectorPanel::LoadPreviewAsked, &out,
                         [this](const QStringList& files, CDocument::DOCTYPE, B32& ok) {
                             m_Loaded = files;
                             ok = 0;
                         });
    }
    QList<int> m_Asked;
    QStringList m_Loaded;
};

TEST_F(PreviewLookupTest, TheLowerConverterIndexWinsAndEveryFrameMustExist)
{
    const QString result = Write(QStringLiteral("out/clip.ani"), "result");
    Write(QStringLiteral("out/clip_preview0.BMP"), "0");
    Write(QStringLiteral("out/clip_preview2.BMP"), "2");
    const CLocalFileInfo info(result);
    Out().UpdatePanel(&info);
    EXPECT_EQ(m_Asked, QList<int>{1});
    EXPECT_EQ(m_GuiPrompt.Messages(), QStringList{PanelText("id_warning_preview_title") + QLatin1Char('|')
                                                  + PanelText("id_warning_no_preview_text")});
    // With the missing frame written, the three files are loaded.
    Write(QStringLiteral("out/clip_preview1.BMP"), "1");
    m_GuiPrompt.mShown.clear();
    Out().UpdatePanel(&info);
    EXPECT_EQ(m_Loaded.size(), 3);
    EXPECT_EQ(m_GuiPrompt.Messages(), QStringList{PanelText("id_warning_preview_title") + QLatin1Char('|')
                                                  + PanelText("id_warning_preview_no_match_text")});
}

} // namespace

namespace {

// While the application replaces its documents (a new conversion, a loaded preview), no preview shows one.
TEST_F(DestinationPanelTest, NoPreviewHoldsADocumentWhileTheApplicationReplacesIt)
{
    Out().GetRawDataCheckBox()->setChecked(true);
    QStringList held;
    auto record = [&](const char* when) {
        if (Out().GetResultPreview()->GetDocument() || Out().GetRawDataPreview()->GetDocument())
            held.append(QString::fromLatin1(when));
    };
    QObject::connect(
        &Out(), &CDestinationSelectorPanel::ConvertionAsked, &Out(), [&](B32, CGenerationInfo*) { record("convert"); },
        Qt::DirectConnection);
    QObject::connect(&Out(), &CDestinationSelectorPanel::LoadPreviewAsked, &Out(),
                     [&](const QStringList&, CDocument::DOCTYPE, B32&) { record("preview"); });
    ConvertSong();
    Out().ConvertButtonClicked();
    Out().GetPreviewCheckBox()->setChecked(true);
    Out().SaveButtonClicked();
    ASSERT_NE(Out().GetResultPreview()->GetDocument(), nullptr);
    QStringList files{m_Out + QStringLiteral("/Song_previewTST.BMP")};
    Out().UpdatePreview(files, CDocument::PICTURE);
    EXPECT_NE(Out().GetResultPreview()->GetDocument(), nullptr);
    EXPECT_TRUE(held.isEmpty()) << held.join(QLatin1Char(' ')).toStdString();
    Out().GetRawDataWindow()->hide();
}

} // namespace
