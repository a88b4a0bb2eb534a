#include "CSendra.h"

#include "Documents/CDocument.h"
#include "Parameters/CProfile.h"
#include "Parameters/ParameterRead.h"

namespace {
// EMS animations come in these two sizes, always of four frames.
const int kSmallSide = 8;
const int kLargeSide = 16;
const int kFrames = 4;
} // namespace

int CSendra::UnloadResources()
{
    return 1;
}

int CSendra::IsCompatibleWithProfile(CProfile* profile)
{
    return ParameterRead::Bool(profile, "EMSANIMATION", false) ? 1 : 0;
}

int CSendra::GetDocumentType()
{
    return CDocument::ANIMATION;
}

int CSendra::GetPreviewDocumentType()
{
    return CDocument::ANIMATION;
}

int CSendra::GetConverterType()
{
    return EXPORTER;
}

int CSendra::GetImportExtensionCount()
{
    return 0;
}

QString CSendra::GetImportExtension(int)
{
    return QString();
}

QString CSendra::GetExportExtension()
{
    return QStringLiteral("EMA");
}

QString CSendra::GetDescription()
{
    return QStringLiteral("EMS animation converter");
}

QString CSendra::GetParametersFileName()
{
    return QStringLiteral("EmaParameters.xml");
}

CDocument* CSendra::Import(const QByteArray&)
{
    return nullptr;
}

QSize CSendra::GetMaxFrameSize()
{
    return QSize(kLargeSide, kLargeSide);
}

int CSendra::IsPictureSizeSupported(const QSize& size)
{
    return GetFixedSizes().contains(size) ? 1 : 0;
}

QList<QSize> CSendra::GetFixedSizes()
{
    return {QSize(kLargeSide, kLargeSide), QSize(kSmallSide, kSmallSide)};
}

int CSendra::GetMaxFrameCount(CProfile*)
{
    return kFrames;
}

void CSendra::Log(const char* text)
{
    mConversionLog.AddText(CConversionLog::SUMMARY | CConversionLog::DETAILED, QString::fromLatin1(text));
}

bool CSendra::Fail(const char* text)
{
    Log(text);
    return false;
}
