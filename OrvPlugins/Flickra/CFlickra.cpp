#include "CFlickra.h"

#include "Documents/CDocument.h"
#include "Parameters/CProfile.h"
#include "Parameters/ParameterRead.h"
#include "Picture/PictureBody.h"
#include "Picture/PictureParameters.h"

int CFlickra::UnloadResources()
{
    return 1;
}

int CFlickra::IsCompatibleWithProfile(CProfile* profile)
{
    return ParameterRead::Bool(profile, "BrimselAnimationCompatible", false) ? 1 : 0;
}

void CFlickra::FilterParametersWithProfile(CParameters* parameters, CProfile* profile, int apply)
{
    PictureParameters::FilterWithProfile(parameters, profile, apply);
}

int CFlickra::GetDocumentType()
{
    return CDocument::ANIMATION;
}

int CFlickra::GetPreviewDocumentType()
{
    return CDocument::ANIMATION;
}

int CFlickra::GetConverterType()
{
    return EXPORTER;
}

int CFlickra::GetImportExtensionCount()
{
    return 0;
}

QString CFlickra::GetImportExtension(int)
{
    return QString();
}

QString CFlickra::GetExportExtension()
{
    return QStringLiteral("ANI");
}

QString CFlickra::GetDescription()
{
    return QStringLiteral("Brimsel animation converter");
}

QString CFlickra::GetParametersFileName()
{
    return QStringLiteral("AniParameters.xml");
}

CDocument* CFlickra::Import(const QByteArray&)
{
    return nullptr;
}

QSize CFlickra::GetMaxFrameSize()
{
    return QSize(PictureBody::MaxSide, PictureBody::MaxSide);
}

int CFlickra::IsPictureSizeSupported(const QSize& size)
{
    return size.width() <= PictureBody::MaxSide && size.height() <= PictureBody::MaxSide ? 1 : 0;
}

void CFlickra::LogMessage(const char* id)
{
    CPluginBase::LogMessage(QStringLiteral("CFlickra"), QString::fromLatin1(id));
}

int CFlickra::GetMaxFrameCount(CProfile* profile)
{
    return profile ? profile->GetNbMaxPictAnim() : 0;
}
