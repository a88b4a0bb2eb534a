#include "GuiTestSupport.h"
#include "Core/CGenerationInfo.h"
#include "Gui/Panels/CConverterPanel.h"
#include "Gui/Panels/CDestinationSelectorPanel.h"
#include "Gui/Panels/CSmsBuilderPanel.h"
#include "Gui/Window/CGuiServices.h"
#include "Gui/Window/COrvTabview.h"
#include "Text/CLanguageResources.h"
#include <QDir>
#include <QFile>
#include <QMessageBox>

namespace {

class CScriptedSound : public CSound
{
public:
    CScriptedSound(CScriptedSoundOutput& output, const QString& file)
        : m_Output(output), m_Name(file.section(QLatin1Char('/'), -1))
    {}
    void Play() override
    {
        m_Output.mCalls.append(QStringLiteral("play ") + m_Name);
        m_Output.mPlaying.insert(m_Name);
    }
    void Stop() override
    {
        m_Output.mCalls.append(QStringLiteral("stop ") + m_Name);
        m_Output.mPlaying.remove(m_Name);
    }
    bool IsFinished() const override { return !m_Output.mPlaying.contains(m_Name); }

private:
    CScriptedSoundOutput& m_Output;
    QString m_Name;
};

} // namespace

std::unique_ptr<CSound> CScriptedSoundOutput::Open(const QString& file)
{
    mCalls.append(QStringLiteral("open ") + file.section(QLatin1Char('/'), -1));
    return std::make_unique<CScriptedSound>(*this, file);
}

void CGuiPrompt::ShowMessage(int kind, const QString& title, const QString& text)
{
    CScriptedPrompt::ShowMessage(kind, title, text);
    if (mOnMessage)
        mOnMessage();
}

int CGuiPrompt::Exec(QDialog& dialog)
{
    mDialogs.append(dialog.windowTitle());
    // Unanswered, a dialog is rejected; the script answers by pressing its buttons.
    dialog.setResult(QDialog::Rejected);
    if (mOnExec)
        mOnExec(dialog);
    return dialog.result();
}

QString CGuiPrompt::ChooseOpenFile(QWidget*, const QString& folder, const QString& filter)
{
    mFileQuestions.append(QStringLiteral("open|") + folder + QLatin1Char('|') + filter);
    return mFileAnswer;
}

QString CGuiPrompt::ChooseSaveFile(QWidget*, const QString& folder, const QString& filter)
{
    mFileQuestions.append(QStringLiteral("save|") + folder + QLatin1Char('|') + filter);
    return mFileAnswer;
}

void GuiTest::SetUp()
{
    EngineTest::SetUp();
    // The windows' pictures and sounds, as shipped.
    const QDir shipped(QStringLiteral(ORV_SOURCE_DIR "/data/app/Languages/resources"));
    for (const QString& name : shipped.entryList(QDir::Files))
        m_App.Write(QStringLiteral("Languages/resources/") + name, ReadAll(shipped.filePath(name)));
    Start();
    m_Application->SetUserPrompt(&m_GuiPrompt);
    CGuiServices::SetPrompt(&m_GuiPrompt);
    CGuiServices::SetSoundOutput(&m_Sound);
    CGuiServices::SetTempFolder(m_Start);
    m_MainWindow = std::make_unique<OrvaneMainWindow>(nullptr, Qt::Window);
    ConnectMainWindow(*m_MainWindow, *m_Application);
    m_Adapter = std::make_unique<CMainWindowAdapter>(*m_MainWindow);
    m_Application->GetEngineState().mpWindow = m_Adapter.get();
}

void GuiTest::TearDown()
{
    if (m_Application)
        m_Application->GetEngineState().mpWindow = nullptr;
    m_MainWindow.reset();
    m_Adapter.reset();
    CGuiServices::Clear();
    EngineTest::TearDown();
}

void GuiTest::MakeUnsavedResult()
{
    QString source = Write(QStringLiteral("in/Tune.txt"), "hello");
    const int converter = ConverterIndex("TST");
    B32 loaded = 0;
    emit m_MainWindow->LoadMediaAsked(source, converter, loaded);
    ASSERT_EQ(loaded, 1);
    CParameters* parameters = nullptr;
    emit m_MainWindow->GetConverterParameters(converter, &parameters);
    CGenerationInfo info(source, converter, parameters, QString());
    emit m_MainWindow->ConvertionAsked(0, &info);
    B32 converted = 0;
    Tabs().mpMediaDestinationPanel->IsConverted(&converted);
    ASSERT_EQ(converted, 1);
}

QString GuiTest::GuiMessage(const char* className, const char* id)
{
    return CLanguageResources::GetMessage(QString::fromLatin1(className), QString::fromLatin1(id));
}

void AppFolderWindowTest::StartWindow(const QByteArray& applicationFolder)
{
    qputenv("ORVANEDIR", applicationFolder);
    Start();
    m_Application->SetUserPrompt(&m_GuiPrompt);
    CGuiServices::SetPrompt(&m_GuiPrompt);
    CGuiServices::SetSoundOutput(&m_Sound);
    CGuiServices::SetTempFolder(m_Start);
    for (QString* folder : {&CConverterPanel::LoadFolder(), &CConverterPanel::SaveFolder(),
                            &CSmsBuilderPanel::LoadFolder(), &CSmsBuilderPanel::SaveFolder()})
        folder->clear();
    m_Window = std::make_unique<OrvaneMainWindow>(nullptr, Qt::Window);
    ConnectMainWindow(*m_Window, *m_Application);
    m_Adapter = std::make_unique<CMainWindowAdapter>(*m_Window);
    m_Application->GetEngineState().mpWindow = m_Adapter.get();
}

void AppFolderWindowTest::TearDown()
{
    if (m_Application)
        m_Application->GetEngineState().mpWindow = nullptr;
    m_Window.reset();
    m_Adapter.reset();
    CGuiServices::Clear();
    for (QString* folder : {&CConverterPanel::LoadFolder(), &CConverterPanel::SaveFolder(),
                            &CSmsBuilderPanel::LoadFolder(), &CSmsBuilderPanel::SaveFolder()})
        folder->clear();
    EngineTest::TearDown();
}

void ExpectParameterSaves(CGuiPrompt& prompt, const QString& folder, const QList<ParameterSaveCase>& cases,
                          const std::function<void()>& save, const char* className, const char* marker)
{
    const auto text = [className](const char* id) {
        return CLanguageResources::GetMessage(QString::fromLatin1(className), QString::fromLatin1(id));
    };
    for (const ParameterSaveCase& c : cases) {
        SCOPED_TRACE(c.typed);
        const QString written = folder + QLatin1Char('/') + QString::fromLatin1(c.written);
        if (c.exists) {
            QFile file(written);
            ASSERT_TRUE(file.open(QIODevice::WriteOnly));
            file.write("keep me");
        }
        prompt.mQuestions.clear();
        prompt.mAnswers.clear();
        if (c.answer >= 0)
            prompt.mAnswers.append(c.answer);
        prompt.mFileAnswer = folder + QLatin1Char('/') + QString::fromLatin1(c.typed);
        save();
        EXPECT_EQ(prompt.mQuestions.size(), c.exists ? 1 : 0);
        if (c.exists) {
            EXPECT_EQ(prompt.mQuestions.first(), text("id_warning_title") + QLatin1Char('|')
                                                     + text("id_overwrite_text").arg(written) + QLatin1Char('|')
                                                     + text("id_yes_caption") + QLatin1Char('/') + text("id_no_caption")
                                                     + QStringLiteral("|1|1"));
        }
        QFile result(written);
        EXPECT_EQ(result.open(QIODevice::ReadOnly) && result.readAll().contains(marker), c.saved);
    }
}
