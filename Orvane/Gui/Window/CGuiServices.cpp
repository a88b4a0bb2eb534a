#include "Gui/Window/CGuiServices.h"
#include "Core/CUserPrompt.h"
#include "Gui/Preview/CSoundOutput.h"
#include <QDir>

namespace {

struct CServices
{
    CUserPrompt* mpPrompt = nullptr;
    CSoundOutput* mpSound = nullptr;
    QString mTempFolder;
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
    return Services().mTempFolder.isEmpty() ? QDir::currentPath() : Services().mTempFolder;
}

void CGuiServices::Clear()
{
    Services() = CServices();
}
