#pragma once
// The window's tests: the real application object started in window mode on the engine tests' scratch
// folder, a main window connected to it as the program connects it, and scripted prompt and sound.
#include "Core/CMainWindowAdapter.h"
#include "EngineTestSupport.h"
#include "Gui/Preview/CSoundOutput.h"
#include "Gui/Window/OrvaneMainWindow.h"
#include <QDialog>
#include <QSet>
#include <functional>
#include <memory>

// Records every sound the window opens, plays and stops. A sound counts as playing from Play until Stop or
// until the test says it ended.
class CScriptedSoundOutput : public CSoundOutput
{
public:
    std::unique_ptr<CSound> Open(const QString& file) override;

    QStringList mCalls;
    // The names of the sounds that play; a test removes one to end it.
    QSet<QString> mPlaying;
};

// The scripted prompt of the window tests: also records the dialogs run and the file choices asked for.
class CGuiPrompt : public CScriptedPrompt
{
public:
    void ShowMessage(int kind, const QString& title, const QString& text) override;
    int Exec(QDialog& dialog) override;
    QString ChooseOpenFile(QWidget*, const QString& folder, const QString& filter) override;
    QString ChooseSaveFile(QWidget*, const QString& folder, const QString& filter) override;

    // Titles of the dialogs run.
    QStringList mDialogs;
    // Runs inside Exec, to look at the dialog.
    std::function<void(QDialog&)> mOnExec;
    // Runs inside ShowMessage, while the box would be up.
    std::function<void()> mOnMessage;
    QStringList mFileQuestions;
    QString mFileAnswer;
};

class GuiTest : public EngineTest
{
protected:
    void SetUp() override;
    void TearDown() override;

    // The window as the program builds it, before its settings are read.
    OrvaneMainWindow& Window() { return *m_MainWindow; }
    COrvTabview& Tabs() { return *m_MainWindow->GetTabview(); }
    // The settings file of the scratch application folder.
    QString SettingsPath() const { return m_App.FilePath(QStringLiteral("Settings.xml")); }
    // Loads a text source and converts it, so that the media tab holds an unsaved converted result.
    void MakeUnsavedResult();
    // The text of a window class's message in the shipped language file.
    static QString GuiMessage(const char* className, const char* id);

    CGuiPrompt m_GuiPrompt;
    CScriptedSoundOutput m_Sound;
    std::unique_ptr<OrvaneMainWindow> m_MainWindow;
    std::unique_ptr<CMainWindowAdapter> m_Adapter;
};

// The window on an application started from the given application folder (the built one, read only, in the
// end-to-end tests), connected as the program connects it, with the scripted prompt and sound; the parameter
// panels' remembered folders start and end empty.
class AppFolderWindowTest : public EngineTest
{
protected:
    void StartWindow(const QByteArray& applicationFolder);
    void TearDown() override;

    COrvTabview& Tabs() { return *m_Window->GetTabview(); }

    CGuiPrompt m_GuiPrompt;
    CScriptedSoundOutput m_Sound;
    std::unique_ptr<OrvaneMainWindow> m_Window;
    std::unique_ptr<CMainWindowAdapter> m_Adapter;
};

// One save of a parameter panel's set: the name the user types, the name written, whether a file of that name
// is there before, the answer to the question whether to replace it (-1: none given) and whether the set is
// written.
struct ParameterSaveCase
{
    const char* typed;
    const char* written;
    bool exists;
    int answer;
    bool saved;
};

// Runs each case in folder through save: the overwrite question (in className's texts) is asked exactly when
// the final name exists, and a written set holds marker.
void ExpectParameterSaves(CGuiPrompt& prompt, const QString& folder, const QList<ParameterSaveCase>& cases,
                          const std::function<void()>& save, const char* className, const char* marker);
