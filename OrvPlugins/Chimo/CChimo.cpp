#include "CChimo.h"

#include "Documents/CDocument.h"
#include "Melody/BuzzerParameterFilter.h"
#include "Parameters/CProfile.h"
#include "Parameters/ParameterRead.h"

namespace {
CChimo* s_pLiveConverter = nullptr;
} // namespace

CChimo::CChimo() : m_DebugFolder({QStringLiteral("out.QBR"), QStringLiteral("preview.wav")})
{
    s_pLiveConverter = this;
}

CChimo::~CChimo()
{
    if (s_pLiveConverter == this)
        s_pLiveConverter = nullptr;
}

CChimo* CChimo::GetLiveConverter()
{
    return s_pLiveConverter;
}

int CChimo::UnloadResources()
{
    return 1;
}

int CChimo::IsCompatibleWithProfile(CProfile* profile)
{
    return ParameterRead::Bool(profile, "IBrimselCompatible", false) ? 1 : 0;
}

void CChimo::FilterParametersWithProfile(CParameters* parameters, CProfile* profile, int apply)
{
    BuzzerParameterFilter::FilterWithProfile(parameters, profile, apply);
}

void CChimo::FilterParametersWithDocument(CParameters* parameters, CDocument* document)
{
    BuzzerParameterFilter::FilterWithDocument(parameters, document, "CChimo");
}

int CChimo::GetDocumentType()
{
    return CDocument::MIDI | CDocument::MELODY;
}

int CChimo::GetPreviewDocumentType()
{
    return CDocument::WAVE;
}

int CChimo::GetConverterType()
{
    return EXPORTER;
}

int CChimo::GetImportExtensionCount()
{
    return 0;
}

QString CChimo::GetImportExtension(int)
{
    return QString();
}

QString CChimo::GetExportExtension()
{
    return QStringLiteral("QBR");
}

QString CChimo::GetDescription()
{
    return QStringLiteral("IBrimsel Melody converter");
}

QString CChimo::GetParametersFileName()
{
    return QStringLiteral("QBRParameters.xml");
}

CDocument* CChimo::Import(const QByteArray&)
{
    return nullptr;
}

void CChimo::ReportProgress(int percent, int stage)
{
    QString text;
    int value = percent / 3;
    switch (stage) {
    case StageMelody:
        text = QStringLiteral("Generating monophonic melody");
        break;
    case StageNotes:
        text = QStringLiteral("Generating IBrimsel notes");
        value += 33;
        break;
    case StagePreview:
        text = QStringLiteral("Generating preview");
        value += 67;
        break;
    default:
        return;
    }
    emit SetProgress(text, value);
    m_ProgressPump.Moved(value);
}

QString CChimo::PrepareDebugFolder(CDocument* document)
{
    m_bDebug = ParameterRead::Bool(mpCurrentParameters, "GenerateDebugFiles", false);
    return m_DebugFolder.Prepare(document, m_bDebug, GetRunFiles(), &mConversionLog);
}

void CChimo::LogMessage(const char* id)
{
    CPluginBase::LogMessage(QStringLiteral("CChimo"), QString::fromLatin1(id));
}
