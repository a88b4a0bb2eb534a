#include "Gui/Window/CGuiServices.h"
#include "Core/CUserPrompt.h"
#include "Gui/Preview/CSoundOutput.h"
#include <QDir>
#include <QFileInfo>
#include <QPointer>
#include <QWidget>

namespace {

struct CServices
{
    CUserPrompt* mpPrompt = nullptr;
    CSoundOutput* mpSound = nullptr;
    QString mTempFolder;
    QString mFallbackTempFolder;
    QPointer<QWidget> mpMainWindow;
};

CServices& Services()
{
    static CServices services;
    return services;
}

} // namespace

void CGuiServices::SetPrompt(CUserPrompt* prompt)
{
    Services().mpPrompt = prompt;
}

CUserPrompt& CGuiServices::Prompt()
{
    static CLogPrompt silent(nullptr);
    return Services().mpPrompt ? *Services().mpPrompt : silent;
}

void CGuiServices::SetSoundOutput(CSoundOutput* output)
{
    Services().mpSound = output;
}

CSoundOutput& CGuiServices::SoundOutput()
{
    static CSilentSoundOutput silent;
    return Services().mpSound ? *Services().mpSound : silent;
}

void CGuiServices::SetTempFolder(const QString& folder)
{
    Services().mTempFolder = folder;
}

QString CGuiServices::TempFolder()
{
    if (!Services().mTempFolder.isEmpty())
        return Services().mTempFolder;
    // Temporary sounds stay out of the user's folders, where they would show up as sources.
    const QFileInfo system(QDir::tempPath());
    if (!system.filePath().isEmpty() && system.isDir() && system.isWritable())
        return system.filePath();
    return Services().mFallbackTempFolder.isEmpty() ? QDir::currentPath() : Services().mFallbackTempFolder;
}

void CGuiServices::SetFallbackTempFolder(const QString& folder)
{
    Services().mFallbackTempFolder = folder;
}

void CGuiServices::SetMainWindow(QWidget* window)
{
    Services().mpMainWindow = window;
}

QWidget* CGuiServices::MainWindow()
{
    return Services().mpMainWindow;
}

void CGuiServices::Clear()
{
    Services() = CServices();
}
