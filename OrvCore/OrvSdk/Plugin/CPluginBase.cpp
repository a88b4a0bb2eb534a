#include "Plugin/CPluginBase.h"

#include "Documents/CDocumentAbstract.h"
#include "Text/CLanguageResources.h"
#include "Util/Assert.h"
#include "Util/SafeFileWrite.h"
#include "Util/BoundedFileRead.h"

#include <QtGlobal>

#include <cstring>
#include <memory>

namespace {
void WarnAboutResources(const QString& title, const QString& text)
{
    qWarning("%s: %s", qUtf8Printable(title), qUtf8Printable(text));
}

CPluginBase::ResourceFailureReporter s_ResourceFailureReporter = WarnAboutResources;
} // namespace

CPluginBase::ResourceFailureReporter CPluginBase::SetResourceFailureReporter(ResourceFailureReporter reporter)
{
    const ResourceFailureReporter previous = s_ResourceFailureReporter;
    s_ResourceFailureReporter = reporter ? reporter : WarnAboutResources;
    return previous;
}

CPluginBase::CPluginBase() = default;

void CPluginBase::LogMessage(const QString& className, const QString& id)
{
    mConversionLog.AddText(CConversionLog::SUMMARY | CConversionLog::DETAILED,
                           CLanguageResources::GetMessage(className, id) + QLatin1Char('\n'));
}

CPluginBase::~CPluginBase()
{
    ClearRawData();
    delete mpPreviewDocument;
}

int CPluginBase::LoadResources()
{
    const QString folder = qEnvironmentVariable("ORVANEDIR");
    if (CLanguageResources::LoadOnFirstUse(folder + QStringLiteral("/Languages/English.xml")))
        return 1;
    // The language file is what failed, so these texts cannot come from it.
    const ResourceFailureReporter report =
        mpResourceFailureReporter ? mpResourceFailureReporter : s_ResourceFailureReporter;
    report(QStringLiteral("Fatal Error"),
           QStringLiteral("Ressources file not found!\nPlease refer to documentation..."));
    return 0;
}

void CPluginBase::ShareWrittenFiles(CWrittenFiles** place)
{
    UseWrittenFilesPlace(place);
}

int CPluginBase::UnloadResources()
{
    return 1;
}

int CPluginBase::IsCompatibleWithProfile(CProfile*)
{
    return 1;
}

void CPluginBase::FilterParametersWithProfile(CParameters*, CProfile*, int) {}

void CPluginBase::FilterParametersWithDocument(CParameters*, CDocument*) {}

void CPluginBase::SetParameters(CParameters* parameters)
{
    mpCurrentParameters = parameters;
}

int CPluginBase::IsCancelable()
{
    return 0;
}

int CPluginBase::Cancel()
{
    return 0;
}

CImageExporter* CPluginBase::GetImageExporter()
{
    return nullptr;
}

QStringList CPluginBase::GetNamedFiles(const QString&, qint64)
{
    return QStringList();
}

qint64 CPluginBase::GetSourceByteLimit()
{
    return GetConverterType() == TRANSLATOR ? FileLimits::MaxMessageSourceBytes : FileLimits::MaxMediaSourceBytes;
}

CDocument* CPluginBase::TakePreviewDocument()
{
    CDocument* document = mpPreviewDocument;
    mpPreviewDocument = nullptr;
    return document;
}

void CPluginBase::ClearRawData()
{
    mRawDataList.clear();
}

CDocumentAbstract* CPluginBase::GetRawDataAsDocument() const
{
    uint64_t size = 0;
    for (const QByteArray& chunk : mRawDataList)
        size += uint64_t(chunk.size());
    if (size > UINT32_MAX)
        return nullptr;

    std::unique_ptr<CDocumentAbstract> document(new CDocumentAbstract);
    document->Allocate(uint32_t(size));
    uint64_t offset = 0;
    for (const QByteArray& chunk : mRawDataList) {
        if (chunk.isEmpty())
            continue;
        std::memcpy(document->GetData() + offset, chunk.constData(), size_t(chunk.size()));
        offset += uint64_t(chunk.size());
    }
    ASSERT(offset == size);
    return document.release();
}
