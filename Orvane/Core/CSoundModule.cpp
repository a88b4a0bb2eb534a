#include "CSoundModule.h"
#include "Host/DynamicLibrary.h"
#include <QFile>

CSoundModule::CSoundModule(const QString& applicationFolder)
{
    const QString path = applicationFolder + QLatin1Char('/') + QStringLiteral(ORVANE_SOUND_MODULE);
    m_pModule = LoadLibraryA(QFile::encodeName(path).constData());
    const auto create = m_pModule
                            ? reinterpret_cast<CreateSoundOutputFunction>(GetProcAddress(m_pModule, ORVANE_SOUND_ENTRY))
                            : nullptr;
    if (create)
        m_pOutput.reset(create());
    if (!m_pOutput)
        m_pOutput = std::make_unique<CSilentSoundOutput>();
}

CSoundModule::~CSoundModule()
{
    // The output's code lives in the module: it goes first.
    m_pOutput.reset();
    if (m_pModule)
        FreeLibrary(m_pModule);
}
