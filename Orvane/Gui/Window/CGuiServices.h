#pragma once
#include <QString>

class QWidget;

class CSoundOutput;
class CUserPrompt;

// What the windows need from outside themselves: the prompt through which everything modal runs, the sound
// output of the preview player and the folders for its temporary sound files. The program fills it before it
// builds the main window and empties it afterwards; tests fill it with scripted services. Nothing is owned.
class CGuiServices
{
public:
    // Null restores the stand-in, which shows nothing and cancels every question and dialog.
    static void SetPrompt(CUserPrompt* prompt);
    static CUserPrompt& Prompt();
    // Null restores the silent output.
    static void SetSoundOutput(CSoundOutput* output);
    static CSoundOutput& SoundOutput();
    // The folder where the preview player writes its temporary sounds: the one set here, else the system's
    // temporary folder, else (when that one cannot be written) the fallback folder.
    static void SetTempFolder(const QString& folder);
    static QString TempFolder();
    // The application's current path; empty means the process's current folder.
    static void SetFallbackTempFolder(const QString& folder);
    // The window every box and dialog opens over, as its parent: the main window while it lives; null before.
    static void SetMainWindow(QWidget* window);
    static QWidget* MainWindow();
    // All of them back to their stand-ins.
    static void Clear();
};
