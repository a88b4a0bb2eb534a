#include "CPlexa.h"

#include "VoxVocoders.h"

#include "Documents/CDocument.h"
#include "Parameters/CParameters.h"
#include "Parameters/CProfile.h"
#include "Parameters/ParameterRead.h"

namespace {
const char* const kClassName = "CPlexa";

// Rewritten by every applied profile filtering; one converter per process.
bool s_bRowCompatible[kVocoderCompatibilityRows] = {};
} // namespace

CPlexa::CPlexa()
    : m_DebugFolder({QStringLiteral("out.vox"), QStringLiteral("TraceVox.txt"), QStringLiteral("PreviewVox.wav")})
{}

CPlexa::~CPlexa()
{
    ClearRawData();
}

bool CPlexa::IsRowCompatible(int row)
{
    return row >= 0 && row < kVocoderCompatibilityRows && s_bRowCompatible[row];
}

int CPlexa::IsCompatibleWithProfile(CProfile* profile)
{
    return ParameterRead::Bool(profile, "VOXCompatible", false) ? 1 : 0;
}

void CPlexa::FilterParametersWithProfile(CParameters* parameters, CProfile* profile, int apply)
{
    CEnumParameter* vocoder = parameters ? parameters->GetEnumParameter(QStringLiteral("VocoderTypeName")) : nullptr;
    if (!vocoder)
        return;
    if (apply != 1) {
        vocoder->RestoreValues();
        return;
    }
    int firstCompatible = -1;
    bool currentCompatible = false;
    for (int row = 0; row < kVocoderCompatibilityRows; ++row) {
        const QString key = CompatibilityKey(row);
        s_bRowCompatible[row] = ParameterRead::Bool(profile, key.toLatin1().constData(), false);
        const QLatin1String name(VocoderName(CompatibilityRowVocoder(row)));
        if (!s_bRowCompatible[row])
            continue;
        if (firstCompatible < 0)
            firstCompatible = row;
        if (vocoder->GetValue() == name)
            currentCompatible = true;
    }
    // With no compatible row at all the value stays: there is nothing better to offer.
    if (!currentCompatible && firstCompatible >= 0)
        vocoder->SetValue(QLatin1String(VocoderName(CompatibilityRowVocoder(firstCompatible))));
    for (int row = 0; row < kVocoderCompatibilityRows; ++row)
        if (!s_bRowCompatible[row])
            vocoder->RemoveValue(QLatin1String(VocoderName(CompatibilityRowVocoder(row))));
}

void CPlexa::FilterParametersWithDocument(CParameters*, CDocument*) {}

int CPlexa::GetDocumentType()
{
    return CDocument::WAVE;
}

int CPlexa::GetPreviewDocumentType()
{
    return CDocument::WAVE;
}

int CPlexa::GetConverterType()
{
    return EXPORTER;
}

int CPlexa::GetImportExtensionCount()
{
    return 0;
}

QString CPlexa::GetImportExtension(int)
{
    return QString();
}

QString CPlexa::GetExportExtension()
{
    return QStringLiteral("VOX");
}

QString CPlexa::GetDescription()
{
    return QStringLiteral("VOX converter");
}

QString CPlexa::GetParametersFileName()
{
    return QStringLiteral("VoxParameters.xml");
}

CDocument* CPlexa::Import(const QByteArray&)
{
    return nullptr;
}

void CPlexa::ReportProgress(const QString& text, int percent, int emitSignal)
{
    if (emitSignal != 1)
        return;
    emit SetProgress(text, percent);
    m_ProgressPump.Moved(percent);
}

QString CPlexa::PrepareDebugFolder(CDocument* document, bool enabled)
{
    m_bDebug = enabled;
    return m_DebugFolder.Prepare(document, m_bDebug, GetRunFiles(), &mConversionLog);
}

void CPlexa::LogMessage(const char* id)
{
    CPluginBase::LogMessage(QString::fromLatin1(kClassName), QString::fromLatin1(id));
}
