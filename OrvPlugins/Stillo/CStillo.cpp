#include "CStillo.h"

#include "Documents/CDocument.h"
#include "Parameters/CProfile.h"
#include "Parameters/ParameterRead.h"
#include "Picture/PictureBody.h"
#include "Picture/PictureParameters.h"

int CStillo::UnloadResources()
{
    return 1;
}

int CStillo::IsCompatibleWithProfile(CProfile* profile)
{
    return ParameterRead::Bool(profile, "BrimselPictureCompatible", false) ? 1 : 0;
}

void CStillo::FilterParametersWithProfile(CParameters* parameters, CProfile* profile, int apply)
{
    PictureParameters::FilterWithProfile(parameters, profile, apply);
}

int CStillo::GetDocumentType()
{
    return CDocument::PICTURE;
}

int CStillo::GetPreviewDocumentType()
{
    return CDocument::PICTURE;
}

int CStillo::GetConverterType()
{
    return EXPORTER;
}

int CStillo::GetImportExtensionCount()
{
    return 0;
}

QString CStillo::GetImportExtension(int)
{
    return QString();
}

QString CStillo::GetExportExtension()
{
    return QStringLiteral("PIC");
}

QString CStillo::GetDescription()
{
    return QStringLiteral("Brimsel picture converter");
}

QString CStillo::GetParametersFileName()
{
    return QStringLiteral("PicParameters.xml");
}

CDocument* CStillo::Import(const QByteArray&)
{
    return nullptr;
}

QSize CStillo::GetMaxFrameSize()
{
    return QSize(PictureBody::MaxSide, PictureBody::MaxSide);
}

int CStillo::IsPictureSizeSupported(const QSize& size)
{
    return size.width() <= PictureBody::MaxSide && size.height() <= PictureBody::MaxSide ? 1 : 0;
}

void CStillo::LogMessage(const char* id)
{
    CPluginBase::LogMessage(QStringLiteral("CStillo"), QString::fromLatin1(id));
}
