// The media tab end to end on the built application folder: a melody loaded, its parameters edited in the form
// and saved, converted with its preview and saved, gives the very files the command line makes from the same
// source and the saved parameter file.
#include "Core/CBatchInfo.h"
#include "Core/CResizeDialogAsker.h"
#include "Gui/Browsing/FileLineControls.h"
#include "Gui/Panels/CConverterPanel.h"
#include "Gui/Panels/CDestinationSelectorPanel.h"
#include "Gui/Panels/CMediaSelectorPanel.h"
#include "Gui/Panels/CSmsSelectorPanel.h"
#include "Gui/Parameters/CParameterView.h"
#include "Gui/Window/CGuiServices.h"
#include "Gui/Window/COrvTabview.h"
#include "GuiTestSupport.h"
#include "Host/CLocalFileInfo.h"
#include "Parameters/CParameter.h"
#include "QtPrinters.h"
#include "ScratchApp.h"
#include "Text/CLanguageResources.h"
#include "WavBuilder.h"
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QTest>
#include <unistd.h>

namespace {

class MediaEndToEndTest : public AppFolderWindowTest
{
protected:
    void SetUp() override
    {
        EngineTest::SetUp();
        // The shipped plug-ins, profiles and parameter files, read only.
        StartWindow(ORV_APP_DIR);
    }
    template <typename T>
    T* ElementOf(const char* name)
    {
        for (Element* element : Tabs().mpConverterPanel->GetParameterView()->GetElements())
            if (auto* simple = dynamic_cast<T*>(element);
                simple && simple->GetParameter()->GetName() == QLatin1String(name))
                return simple;
        return nullptr;
    }
    // The media tab on copies of the examples in "media", its results going to the folder "gui"; the other
    // folders made.
    void ShowMedia(std::initializer_list<const char*> examples, std::initializer_list<const char*> folders = {})
    {
        for (const char* name : examples)
            Write(QStringLiteral("media/") + QLatin1String(name),
                  ReadAll(QStringLiteral(ORV_SOURCE_DIR "/examples/") + QLatin1String(name)));
        for (const char* folder : folders)
            QDir().mkpath(In(QString::fromLatin1(folder)));
        QDir().mkpath(In("gui"));
        // No settings file: the program's first start.
        m_Window->LoadSettings(In("none.xml"));
        Tabs().mpMediaSelectorPanel->SetCurrentPath(In("media"));
        Tabs().mpMediaDestinationPanel->SetOutputFolder(In("gui"));
        m_Window->show();
    }
    // Loads a source of "media" in the media tab.
    void LoadSource(const char* name)
    {
        const CLocalFileInfo source(In(QStringLiteral("media/") + QLatin1String(name)));
        Tabs().mpMediaSelectorPanel->UpdatePanel(&source);
    }
    // Types the value into the form's Tempo and leaves the field, as the user does.
    void TypeTempo(const char* value)
    {
        SpinEdit* tempo = ElementOf<SpinEdit>("Tempo");
        ASSERT_NE(tempo, nullptr);
        QSpinBox* spin = tempo->GetSpinBox();
        spin->setFocus();
        spin->selectAll();
        QTest::keyClicks(spin, QString::fromLatin1(value));
        QFocusEvent leave(QEvent::FocusOut, Qt::OtherFocusReason);
        QCoreApplication::sendEvent(spin, &leave);
    }
    // The phone chosen from the window's menu.
    void SelectPhone(const char* name)
    {
        QStringList phones;
        emit m_Window->GetProfileNameList(phones);
        const int index = int(phones.indexOf(QString::fromLatin1(name)));
        ASSERT_GE(index, 0) << name;
        m_Window->SetCurrentProfile(index);
    }
    // The entry chosen from a list, as the user does.
    static void Choose(QComboBox* list, const char* text)
    {
        const int index = list->findText(QString::fromLatin1(text));
        ASSERT_GE(index, 0) << text;
        list->setCurrentIndex(index);
        emit list->activated(index);
    }
    void SelectConverter(const char* name) { Choose(Tabs().mpMediaSelectorPanel->GetConverterSelector(), name); }
    // What the form shows of a parameter: its labels (the range among them) and its value.
    QString Shown(const char* name)
    {
        auto* element = ElementOf<SimpleElement>(name);
        if (!element)
            return QStringLiteral("<no %1>").arg(QString::fromLatin1(name));
        QStringList texts;
        for (const QLabel* label : element->findChildren<QLabel*>())
            if (!label->text().isEmpty() && label->text() != element->GetValueText())
                texts.append(label->text());
        return texts.join(QLatin1Char('|')) + QLatin1Char('=') + element->GetValueText();
    }
    // The program run from the command line on the morning tune with the options.
    CProgramRun RunMorning(const QStringList& options)
    {
        return RunProgram(QStringLiteral(ORV_PROGRAM_FILE), QStringList{In("media/morning.mid")} + options, m_Start,
                          QStringLiteral(ORV_APP_DIR), QStringLiteral("offscreen"));
    }
};

TEST_F(MediaEndToEndTest, EachPhoneShowsItsOwnRangesAndChoicesWhateverPhonesCameBefore)
{
    m_Window->LoadSettings(In("none.xml"));
    m_Window->show();
    SelectPhone("Model B");
    SelectConverter("iMelody converter");
    const auto tempoAndStyle = [this] { return Shown("Tempo") + QLatin1Char(' ') + Shown("Style"); };
    const QString onB = QStringLiteral("Tempo| (25 to 400)|beats per minute=120 Style=Natural");
    EXPECT_EQ(tempoAndStyle(), onB);
    SelectPhone("Model C");
    EXPECT_EQ(tempoAndStyle(), QStringLiteral("Tempo| (30 to 300)|beats per minute=120 Style=Staccato"));
    SelectPhone("Model B");
    EXPECT_EQ(tempoAndStyle(), onB);

    // The colours of a monochrome phone do not follow the animation converter onto a grey one.
    SelectPhone("Model A");
    SelectConverter("Brimsel animation converter");
    EXPECT_EQ(Shown("GrayScale"), QStringLiteral("Colours=Monochrom"));
    SelectPhone("Model C");
    EXPECT_EQ(Shown("GrayScale"), QStringLiteral("Colours=Grayscale"));
}

TEST_F(MediaEndToEndTest, WithoutParameterFileTheBatchAndTheMediaTabWriteWhatTheCommandLineWrites)
{
    ShowMedia({"morning.mid"}, {"batch", "cli"});
    SelectPhone("Model B");
    SelectConverter("iMelody converter");
    LoadSource("morning.mid");
    ASSERT_NE(Loaded(), nullptr);

    // The form edited, then shown on another phone and back.
    TypeTempo("150");
    SelectPhone("Model C");
    SelectPhone("Model B");
    EXPECT_EQ(ElementOf<SpinEdit>("Tempo")->GetValueText(), QStringLiteral("150"));

    CBatchInfoList batch;
    batch.append(new CBatchInfo({In("media/morning.mid")}, EntryIndex("IMY"), QString(), In("batch")));
    B32 result = 0;
    m_Application->LaunchAsked(&batch, 0, result);
    EXPECT_EQ(result, 1);

    // The phone change put the song away: loaded again, then Default, the start-up set on this phone and for
    // this source, as the command line has it.
    LoadSource("morning.mid");
    ASSERT_NE(Loaded(), nullptr);
    Tabs().mpConverterPanel->LoadDefault();
    Tabs().mpMediaDestinationPanel->ConvertButtonClicked();
    Tabs().mpMediaDestinationPanel->SaveButtonClicked();

    const CProgramRun run = RunMorning({QStringLiteral("/profile=Model B"), QStringLiteral("/converter=imy"),
                                        QStringLiteral("/destination=") + In("cli")});
    ASSERT_TRUE(run.finished);
    EXPECT_EQ(run.exitCode, 0) << run.err.constData();
    const QByteArray expected = ReadAll(In("cli/morning.IMY"));
    EXPECT_TRUE(expected.contains("STYLE:0")) << expected.constData();
    EXPECT_EQ(ReadAll(In("batch/morning.IMY")), expected);
    EXPECT_EQ(ReadAll(In("gui/morning.IMY")), expected);
}

TEST_F(MediaEndToEndTest, TheMediaTabWritesWhatTheCommandLineWritesWithTheSavedParameters)
{
    ShowMedia({"morning.mid"}, {"cli"});
    CDestinationSelectorPanel& out = *Tabs().mpMediaDestinationPanel;
    SelectConverter("iMelody converter");
    LoadSource("morning.mid");
    ASSERT_NE(Loaded(), nullptr);

    // Tempo typed, Style chosen, as the user does.
    TypeTempo("150");
    ComboBox* style = ElementOf<ComboBox>("Style");
    ASSERT_NE(style, nullptr);
    Choose(style->GetComboBox(), "Continuous");
    ASSERT_EQ(ElementOf<SpinEdit>("Tempo")->GetValueText(), QStringLiteral("150"));
    ASSERT_EQ(style->GetValueText(), QStringLiteral("Continuous"));

    m_GuiPrompt.mFileAnswer = In("saved");
    Tabs().mpConverterPanel->Save();
    const QString parameters = In("saved.xml");
    ASSERT_TRUE(QFile::exists(parameters));

    out.GetPreviewCheckBox()->setChecked(true);
    out.ConvertButtonClicked();
    out.SaveButtonClicked();
    B32 saved = 0;
    out.IsSaved(&saved);
    EXPECT_EQ(saved, 1);
    const QStringList guiFiles = FilesIn(In("gui"));
    ASSERT_GE(guiFiles.size(), 2) << guiFiles.join(QLatin1Char(' ')).toStdString();

    // The window starts on the first profile.
    QStringList profiles;
    emit m_Window->GetProfileNameList(profiles);
    ASSERT_FALSE(profiles.isEmpty());
    const QString profile = profiles.first();
    const CProgramRun run = RunMorning({QStringLiteral("/profile=") + profile, QStringLiteral("/converter=imy"),
                                        QStringLiteral("/parameter=") + parameters,
                                        QStringLiteral("/destination=") + In("cli"), QStringLiteral("/preview")});
    ASSERT_TRUE(run.finished);
    EXPECT_EQ(run.exitCode, 0) << run.err.constData();
    EXPECT_EQ(FilesIn(In("cli")), guiFiles);
    for (const QString& name : guiFiles) {
        SCOPED_TRACE(name.toStdString());
        EXPECT_EQ(ReadAll(In("cli/") + name), ReadAll(In("gui/") + name));
    }
    // The preview among them.
    EXPECT_TRUE(std::any_of(guiFiles.begin(), guiFiles.end(), [](const QString& f) {
        return f.endsWith(QStringLiteral(".WAV"), Qt::CaseInsensitive);
    })) << guiFiles.join(QLatin1Char(' ')).toStdString();
}

// The lines of a log that say which values the phone changed.
QStringList PhoneChanges(const QString& log)
{
    QStringList lines = log.split(QLatin1Char('\n'));
    lines.removeIf([](const QString& line) { return !line.contains(QStringLiteral(" instead of ")); });
    return lines;
}

TEST_F(MediaEndToEndTest, ATempoThePhoneDoesNotTakeBecomesTheNearestItTakesAsInAParameterFile)
{
    ShowMedia({"morning.mid"}, {"cli"});
    CDestinationSelectorPanel& out = *Tabs().mpMediaDestinationPanel;
    SelectPhone("Model B");
    SelectConverter("iMelody converter");
    LoadSource("morning.mid");
    ASSERT_NE(Loaded(), nullptr);
    TypeTempo("350");
    const QString onB = QStringLiteral("Tempo| (25 to 400)|beats per minute=350");
    ASSERT_EQ(Shown("Tempo"), onB);
    SelectPhone("Model C");
    EXPECT_EQ(Shown("Tempo"), QStringLiteral("Tempo| (30 to 300)|beats per minute=300"));
    SelectPhone("Model B");
    EXPECT_EQ(Shown("Tempo"), onB);

    // The song, put away by the phone change, converts at 300 on the narrower phone ...
    SelectPhone("Model C");
    LoadSource("morning.mid");
    EXPECT_EQ(ElementOf<SpinEdit>("Tempo")->GetValueText(), QStringLiteral("300"));
    NewLog();
    out.ConvertButtonClicked();
    const QStringList typedChanges = PhoneChanges(NewLog());
    const QByteArray typed = ResultBytes();
    EXPECT_TRUE(typed.contains("BEAT:300")) << typed.constData();

    // ... as the command line converts it with 350 in a parameter file, and both logs say why.
    QByteArray file = ReadAll(QStringLiteral(ORV_APP_DIR "/Plugins/Parameters/IMYParameters.xml"));
    file.replace("NAME=\"Tempo\" TYPE=\"Integer\" VALUE=\"120\"", "NAME=\"Tempo\" TYPE=\"Integer\" VALUE=\"350\"");
    const QString parameters = Write(QStringLiteral("fast.xml"), file);
    const CProgramRun run =
        RunMorning({QStringLiteral("/profile=Model C"), QStringLiteral("/converter=imy"),
                    QStringLiteral("/parameter=") + parameters, QStringLiteral("/destination=") + In("cli"),
                    QStringLiteral("/logfile=") + In("cli.log")});
    ASSERT_TRUE(run.finished);
    EXPECT_EQ(run.exitCode, 0) << run.err.constData();
    EXPECT_EQ(ReadAll(In("cli/morning.IMY")), typed);
    const QStringList fileChanges = PhoneChanges(QString::fromUtf8(ReadAll(In("cli.log"))));
    EXPECT_TRUE(fileChanges.contains(QStringLiteral("Tempo is 300 instead of 350: Model C takes 30 to 300.")))
        << fileChanges.join(QLatin1Char('\n')).toStdString();
    EXPECT_EQ(typedChanges, fileChanges);

    // The same file loaded in the media tab: the same bytes, the same lines.
    m_GuiPrompt.mFileAnswer = parameters;
    Tabs().mpConverterPanel->Load();
    out.ConvertButtonClicked();
    EXPECT_EQ(PhoneChanges(NewLog()), fileChanges);
    EXPECT_EQ(ResultBytes(), typed);
}

TEST_F(MediaEndToEndTest, ADebugFileThatWouldReplaceTheSourceOrTheParameterFileIsSkippedWithALogLine)
{
    // The MSEQ converter keeps its debug files in "Debug" beside the source: there, the tune under a second
    // name (a hard link) and the parameter file the user loads.
    ShowMedia({"morning.mid"});
    const QString source = In("media/morning.mid");
    const QString link = In("media/Debug/Dest.mid");
    QDir().mkpath(In("media/Debug"));
    ASSERT_EQ(::link(QFile::encodeName(source).constData(), QFile::encodeName(link).constData()), 0);
    const QByteArray parameterFile = ReadAll(QStringLiteral(ORV_APP_DIR "/Plugins/Parameters/MSEQParameters.xml"));
    const QString parameters = Write(QStringLiteral("media/Debug/Trace.txt"), parameterFile);
    SelectPhone("Model C");
    SelectConverter("SEQ converter");
    m_GuiPrompt.mFileAnswer = parameters;
    Tabs().mpConverterPanel->Load();
    LoadSource("morning.mid");
    ASSERT_NE(Loaded(), nullptr);
    NewLog();
    Tabs().mpMediaDestinationPanel->ConvertButtonClicked();
    EXPECT_NE(ResultBytes(), QByteArray("<none>"));
    const QString log = NewLog();
    EXPECT_TRUE(log.contains(
        QStringLiteral("The debug file %1 was not written: it is the source %2 of this run.\n").arg(link, source)))
        << qPrintable(log);
    EXPECT_TRUE(
        log.contains(QStringLiteral("The debug file %1 was not written: it is the parameter file %1 of this run.\n")
                         .arg(parameters)))
        << qPrintable(log);
    EXPECT_EQ(ReadAll(link), ReadAll(QStringLiteral(ORV_SOURCE_DIR "/examples/morning.mid")));
    EXPECT_EQ(ReadAll(parameters), parameterFile);
    // The converter's other debug files are written.
    EXPECT_TRUE(QFile::exists(In("media/Debug/Out.seq")));
}

TEST_F(MediaEndToEndTest, AFirstStartOffersEveryAnimationForResizingAsItsMenuShows)
{
    CResizeDialogAsker asker;
    m_Application->GetEngineState().mpResizeAsker = &asker;
    ShowMedia({"wink.anim", "wink1.png", "wink2.png", "wink3.png", "wink4.png"});
    ASSERT_TRUE(m_Window->GetResizeItem()->isChecked());
    CDestinationSelectorPanel& out = *Tabs().mpMediaDestinationPanel;
    SelectConverter("Brimsel animation converter");
    LoadSource("wink.anim");
    ASSERT_NE(Loaded(), nullptr);

    // The four frames fit the phone: only the option opens the dialog, and its Ok converts.
    QStringList dialogs;
    m_GuiPrompt.mOnExec = [&dialogs](QDialog& dialog) {
        dialogs.append(QString::fromLatin1(dialog.metaObject()->className()));
        const QString ok = CLanguageResources::GetMessage(QStringLiteral("CResizeDialog"), QStringLiteral("id_ok"));
        for (QPushButton* button : dialog.findChildren<QPushButton*>())
            if (button->text() == ok && button->isEnabled()) {
                button->click();
                return;
            }
    };
    out.ConvertButtonClicked();
    m_GuiPrompt.mOnExec = nullptr;
    m_Application->GetEngineState().mpResizeAsker = nullptr;
    EXPECT_EQ(dialogs, QStringList{QStringLiteral("CResizeGIFDialog")});
    B32 converted = 0;
    out.IsConverted(&converted);
    EXPECT_EQ(converted, 1);
}

// With the option on, the EMS animation of the example offers its own size first and chosen, and the sizes the EMS
// converter writes only: its Ok converts the animation as it is, to the very bytes the command line writes.
TEST_F(MediaEndToEndTest, AnAnimationOfferedForResizingConvertsAsItIsWhenItsOwnSizeIsAccepted)
{
    CResizeDialogAsker asker;
    m_Application->GetEngineState().mpResizeAsker = &asker;
    ShowMedia({"wink.anim", "wink1.png", "wink2.png", "wink3.png", "wink4.png"}, {"cli"});
    ASSERT_TRUE(m_Window->GetResizeItem()->isChecked());
    SelectPhone("Model B");
    SelectConverter("EMS animation converter");
    LoadSource("wink.anim");
    ASSERT_NE(Loaded(), nullptr);

    QStringList offered;
    QString chosen;
    m_GuiPrompt.mOnExec = [&](QDialog& dialog) {
        for (QComboBox* combo : dialog.findChildren<QComboBox*>()) {
            for (int i = 0; i < combo->count(); ++i)
                offered.append(combo->itemText(i));
            chosen = combo->currentText();
        }
        const QString ok = CLanguageResources::GetMessage(QStringLiteral("CResizeDialog"), QStringLiteral("id_ok"));
        for (QPushButton* button : dialog.findChildren<QPushButton*>())
            if (button->text() == ok && button->isEnabled()) {
                button->click();
                return;
            }
    };
    CDestinationSelectorPanel& out = *Tabs().mpMediaDestinationPanel;
    out.ConvertButtonClicked();
    m_GuiPrompt.mOnExec = nullptr;
    m_Application->GetEngineState().mpResizeAsker = nullptr;
    EXPECT_EQ(offered, (QStringList{QStringLiteral("16 x 16"), QStringLiteral("8 x 8")}));
    EXPECT_EQ(chosen, QStringLiteral("16 x 16"));
    EXPECT_TRUE(m_GuiPrompt.mShown.empty()) << qPrintable(m_GuiPrompt.mShown.front().text);
    B32 converted = 0;
    out.IsConverted(&converted);
    ASSERT_EQ(converted, 1);
    out.SaveButtonClicked();

    const CProgramRun run = RunProgram(QStringLiteral(ORV_PROGRAM_FILE),
                                       {In("media/wink.anim"), QStringLiteral("/profile=Model B"),
                                        QStringLiteral("/converter=ema"), QStringLiteral("/destination=") + In("cli")},
                                       m_Start, QStringLiteral(ORV_APP_DIR), QStringLiteral("offscreen"));
    ASSERT_TRUE(run.finished);
    EXPECT_EQ(run.exitCode, 0) << run.err.constData();
    const QByteArray expected = ReadAll(In("cli/wink.EMA"));
    EXPECT_EQ(expected.size(), 128);
    EXPECT_EQ(ReadAll(In("gui/wink.EMA")), expected);
}

// Bytes that look random and are the same on every run.
QByteArray RandomBytes(int count, uint32_t seed)
{
    QByteArray bytes(count, '\0');
    for (char& byte : bytes) {
        seed = seed * 1103515245u + 12345u;
        byte = char(seed >> 24);
    }
    return bytes;
}

// The lines of a run log from the one that names a failed file on.
QString FailureLines(const QString& log)
{
    const int first = int(log.indexOf(QLatin1String("The file ")));
    return first < 0 ? QStringLiteral("<no failure in: %1>").arg(log) : log.mid(first);
}

// A source the window, a batch run and the command line all fail on, and the lines each says it in.
struct FailedSourceCase
{
    const char *name, *phone, *converter, *extension, *source;
    QByteArray bytes;
    const char *title, *lines;
};

// A case is shown by its name, in the test's name too.
void PrintTo(const FailedSourceCase& c, std::ostream* out)
{
    *out << c.name;
}

class FailedSourceEndToEndTest : public MediaEndToEndTest, public ::testing::WithParamInterface<FailedSourceCase>
{};

// A source that fails is said in the same lines in every mode: the window's box and run log, the batch run's log
// and the command line's name the file and whether it could not be read, converted or translated, then give the
// reader's or converter's words as the reason, with no empty line.
TEST_P(FailedSourceEndToEndTest, IsSaidInTheSameLinesInTheWindowTheBatchAndTheCommandLine)
{
    const FailedSourceCase& c = GetParam();
    ShowMedia({}, {"batch", "cli"});
    const QString path = Write(QStringLiteral("media/") + QLatin1String(c.source), c.bytes);
    const QString lines = QString::fromLatin1(c.lines).arg(path) + QLatin1Char('\n');

    SelectPhone(c.phone);
    m_GuiPrompt.mShown.clear();
    NewLog();
    const CLocalFileInfo file(path);
    if (QLatin1String(c.extension) == QLatin1String("EMS_SMS")) {
        Tabs().ShowPage(COrvTabview::SMS_TAB);
        Tabs().mpSmsSelectorPanel->SetCurrentFolder(In("media"));
        Tabs().mpSmsDestinationPanel->SetOutputFolder(In("gui"));
        Choose(Tabs().mpSmsSelectorPanel->GetConverterSelector(), c.converter);
        Tabs().mpSmsSelectorPanel->UpdatePanel(&file);
        m_Window->SmsGenerate();
    } else {
        SelectConverter(c.converter);
        Tabs().mpMediaSelectorPanel->UpdatePanel(&file);
        if (Loaded())
            Tabs().mpMediaDestinationPanel->ConvertButtonClicked();
    }
    EXPECT_EQ(m_GuiPrompt.Messages(), QStringList{QLatin1String(c.title) + QLatin1Char('|') + lines.chopped(1)});
    EXPECT_EQ(FailureLines(NewLog()), lines);

    CBatchInfoList batch;
    batch.append(new CBatchInfo({path}, EntryIndex(c.extension), QString(), In("batch")));
    B32 result = 1;
    m_Application->LaunchAsked(&batch, 0, result);
    EXPECT_EQ(result, 0);
    EXPECT_EQ(FailureLines(NewLog()), lines);

    const CProgramRun run =
        RunProgram(QStringLiteral(ORV_PROGRAM_FILE),
                   {path, QStringLiteral("/profile=") + QLatin1String(c.phone),
                    QStringLiteral("/converter=") + QLatin1String(c.extension),
                    QStringLiteral("/destination=") + In("cli"), QStringLiteral("/logfile=") + In("cli/run.log")},
                   m_Start, QStringLiteral(ORV_APP_DIR), QStringLiteral("offscreen"));
    ASSERT_TRUE(run.finished);
    EXPECT_EQ(run.exitCode, 1) << run.err.constData();
    EXPECT_EQ(FailureLines(QString::fromUtf8(ReadAll(In("cli/run.log")))), lines);
    EXPECT_TRUE(FilesIn(In("batch")).isEmpty());
    EXPECT_EQ(FilesIn(In("cli")), QStringList{QStringLiteral("run.log")});
}

INSTANTIATE_TEST_SUITE_P(
    RefusedSources, FailedSourceEndToEndTest,
    ::testing::Values(
        FailedSourceCase{"NoisePng", "Model B", "Brimsel picture converter", "PIC", "noise.png", RandomBytes(600, 7),
                         "Import failed", "The file %1 could not be read.\nReason: The picture could not be read."},
        FailedSourceCase{"NoiseWav", "Model C", "VOX converter", "VOX", "noise.wav", RandomBytes(600, 11),
                         "Import failed", "The file %1 could not be read.\nReason: The file is not a RIFF WAVE sound."},
        FailedSourceCase{"SilentWav", "Model C", "VOX converter", "VOX", "silent.wav",
                         WavBuilder::Canonical(WavBuilder::Format{}, QByteArray()), "Import failed",
                         "The file %1 could not be read.\nReason: The sound holds no samples."},
        FailedSourceCase{"NoiseEcard", "Model A", "EMS SMS translator", "EMS_SMS", "noise.ecd", RandomBytes(600, 5),
                         "Translation failed",
                         "The file %1 could not be translated.\nReason: Ecard content is not well-formed !"},
        // A MIDI header cut after ten bytes: the reader takes it, the converter finds no note.
        FailedSourceCase{"TenByteMidi", "Model B", "iMelody converter", "IMY", "ten.mid",
                         QByteArray("MThd\0\0\0\6\0\0", 10), "Conversion failed",
                         "The file %1 could not be converted.\nReason: The melody holds no note to play."}),
    [](const ::testing::TestParamInfo<FailedSourceCase>& info) { return std::string(info.param.name); });

// Scrolled to the end of one converter's form, the next converter's form shows from its top.
TEST_F(MediaEndToEndTest, ANewConvertersFormShowsFromItsTop)
{
    ShowMedia({});
    SelectPhone("Model C");
    SelectConverter("SEQ converter");
    auto* area = Tabs().mpConverterPanel->findChild<QScrollArea*>();
    ASSERT_NE(area, nullptr);
    area->resize(area->width(), 120);
    QCoreApplication::processEvents();
    QScrollBar* bar = area->verticalScrollBar();
    ASSERT_GT(bar->maximum(), 0);
    bar->setValue(bar->maximum());
    SelectConverter("iMelody converter");
    QCoreApplication::processEvents();
    EXPECT_EQ(bar->value(), 0);
}

} // namespace
