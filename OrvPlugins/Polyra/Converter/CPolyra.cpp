#include "CPolyra.h"

#include "PolyraSettings.h"
#include "PolyraTrace.h"

#include "Documents/CDocument.h"
#include "Melody/CDocumentMidi.h"
#include "Melody/CMidiInstrumentUsage.h"
#include "Parameters/CParameters.h"
#include "Parameters/CProfile.h"
#include "Parameters/ParameterRead.h"
#include "Text/ShownName.h"
#include "Util/Assert.h"

#include <QCoreApplication>

namespace {
const char* const kClassName = "CPolyra";
} // namespace

CPolyra::CPolyra()
    : m_DebugFolder({QStringLiteral("Trace.txt"), QStringLiteral("Format0.mid"), QStringLiteral("Dest.mid"),
                     QStringLiteral("Out.seq"), QStringLiteral("Preview.wav")})
{}

int CPolyra::IsCompatibleWithProfile(CProfile* profile)
{
    if (!profile)
        return 0;
    // A phone without the key simply takes no MSEQ sequences.
    return ParameterRead::Bool(profile, "MISCCompatible", false) ? 1 : 0;
}

void CPolyra::FilterParametersWithProfile(CParameters*, CProfile*, int) {}

void CPolyra::FilterParametersWithDocument(CParameters* parameters, CDocument* document)
{
    // The document type says what the object is: casts that need type
    // information fail across the plug-in boundary.
    const bool isMidi = document && document->GetDocType() == CDocument::MIDI;
    ASSERT(isMidi);
    if (!isMidi || !parameters)
        return;
    const CMidiInstrumentUsage* usage = static_cast<CDocumentMidi*>(document)->GetInstrumentUsage();
    // A file whose notes cannot be read tells nothing of its instruments: every family stays offered, so that the
    // conversion reports what is wrong with the file rather than a choice the user never made.
    bool anyUsed = false;
    for (int key = 0; usage && key < Polyra::ClassCount && !anyUsed; ++key)
        anyUsed = usage->IsFamilyUsed(Polyra::KeyClass[key]);
    for (int key = 0; key < Polyra::ClassCount; ++key) {
        CBoolParameter* keep = parameters->GetBoolParameter(QStringLiteral("Keep%1").arg(key));
        if (!keep)
            continue;
        keep->mIsConst = false;
        keep->mValue = true;
        if (anyUsed && !usage->IsFamilyUsed(Polyra::KeyClass[key]))
            keep->mIsConst = true;
    }
}

int CPolyra::GetDocumentType()
{
    return CDocument::MIDI;
}

int CPolyra::GetPreviewDocumentType()
{
    return CDocument::WAVE;
}

int CPolyra::GetConverterType()
{
    return EXPORTER;
}

int CPolyra::GetImportExtensionCount()
{
    return 0;
}

QString CPolyra::GetImportExtension(int)
{
    return QString();
}

QString CPolyra::GetExportExtension()
{
    return QStringLiteral("SEQ");
}

QString CPolyra::GetDescription()
{
    return QStringLiteral("SEQ converter");
}

QString CPolyra::GetParametersFileName()
{
    return QStringLiteral("MSEQParameters.xml");
}

CDocument* CPolyra::Import(const QByteArray&)
{
    return nullptr;
}

int CPolyra::IsCancelable()
{
    return 1;
}

int CPolyra::Cancel()
{
    MseqSetStop(true);
    return 1;
}

void CPolyra::ReportProgress(const char* text, int value, int mode)
{
    switch (mode) {
    case 1:
        m_nProgressPhase = PhaseAnalysis;
        return;
    case 2:
        m_nProgressPhase = PhaseFinal;
        return;
    case 3:
        value = m_nProgressPhase == PhaseAnalysis ? value / 2 : value / 2 + 50;
        break;
    case 4:
        break;
    default:
        return;
    }
    emit SetProgress(QString::fromLatin1(text), value);
    // The host's cancel button works only while its events are handled.
    if (QCoreApplication::instance())
        QCoreApplication::processEvents();
}

bool CPolyra::HasKeptInstrument() const
{
    for (int key = 0; key < Polyra::ClassCount; ++key) {
        const CBoolParameter* keep = mpCurrentParameters->GetBoolParameter(QStringLiteral("Keep%1").arg(key));
        if (keep && !keep->mIsConst && keep->mValue)
            return true;
    }
    return false;
}

void CPolyra::LogMessage(const char* id)
{
    CPluginBase::LogMessage(QString::fromLatin1(kClassName), QString::fromLatin1(id));
}

void CPolyra::LogMessage(const char* id, const QString& name, const QString& text)
{
    PolyraTrace(&mConversionLog, false).Notice(id, ShowName(name), text);
}
