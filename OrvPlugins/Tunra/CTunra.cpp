#include "CTunra.h"

#include "Documents/CDocument.h"
#include "Parameters/CProfile.h"
#include "Parameters/ParameterRead.h"

namespace {
CTunra* s_pLiveConverter = nullptr;

const char* const kClassName = "CTunra";
} // namespace

CTunra::CTunra() : m_DebugFolder({QStringLiteral("outASCII.imy"), QStringLiteral("outGSM7.imy")})
{
    s_pLiveConverter = this;
}

CTunra::~CTunra()
{
    if (s_pLiveConverter == this)
        s_pLiveConverter = nullptr;
}

CTunra* CTunra::GetLiveConverter()
{
    return s_pLiveConverter;
}

int CTunra::IsCompatibleWithProfile(CProfile* profile)
{
    if (!profile)
        return 0;
    // A phone without the key is simply not an iMelody phone.
    return ParameterRead::Bool(profile, "IMelodyCompatible", false) ? 1 : 0;
}

int CTunra::GetDocumentType()
{
    return CDocument::MIDI | CDocument::MELODY;
}

int CTunra::GetPreviewDocumentType()
{
    return CDocument::WAVE;
}

int CTunra::GetConverterType()
{
    return EXPORTER;
}

int CTunra::GetImportExtensionCount()
{
    return 0;
}

QString CTunra::GetImportExtension(int)
{
    return QString();
}

QString CTunra::GetExportExtension()
{
    return QStringLiteral("IMY");
}

QString CTunra::GetDescription()
{
    return QStringLiteral("iMelody converter");
}

QString CTunra::GetParametersFileName()
{
    return QStringLiteral("IMYParameters.xml");
}

CDocument* CTunra::Import(const QByteArray&)
{
    return nullptr;
}

void CTunra::ReportProgress(int percent, int phase)
{
    QString text;
    int value = 0;
    switch (phase) {
    case PhaseMelody:
        text = QStringLiteral("Generating monophonic melody");
        value = percent / 3;
        break;
    case PhaseNotes:
        text = QStringLiteral("Generating imelody notes");
        value = 33 + percent / 3;
        break;
    case PhasePreview:
        text = QStringLiteral("Generating preview");
        value = 67 + percent / 3;
        break;
    default:
        return;
    }
    m_nProgressPhase = phase;
    emit SetProgress(text, value);
    m_ProgressPump.Moved(value);
}

void CTunra::LogMessage(const char* id)
{
    CPluginBase::LogMessage(QString::fromLatin1(kClassName), QString::fromLatin1(id));
}
