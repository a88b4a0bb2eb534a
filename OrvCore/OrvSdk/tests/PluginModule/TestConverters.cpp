#include "TestConverters.h"

#include "Documents/CDocumentAbstract.h"
#include "Documents/CDocumentPicture.h"

int CTestExporter::GetDocumentType()
{
    return CDocument::PICTURE | CDocument::ANIMATION;
}

int CTestExporter::GetPreviewDocumentType()
{
    return CDocument::PICTURE;
}

bool CTestExporter::Convert(CDocument* document)
{
    if (!document || !(document->GetDocType() & GetDocumentType())) {
        mConversionLog.AddText(3, QStringLiteral("unsupported document\n"));
        return false;
    }
    emit SetProgress(QStringLiteral("converting"), 50);
    mRawDataList.append(QByteArray("head"));
    mRawDataList.append(QByteArray("tail"));
    delete mpPreviewDocument;
    mpPreviewDocument = new CDocumentPicture(QImage(2, 2, QImage::Format_RGB32));
    emit SetProgress(QStringLiteral("converting"), 100);
    return true;
}

int CTestImporter::GetDocumentType()
{
    return CDocument::ABSTRACT;
}

int CTestImporter::GetPreviewDocumentType()
{
    return CDocument::ABSTRACT;
}

QString CTestImporter::GetImportExtension(int index)
{
    switch (index) {
    case 0:
        return QStringLiteral("raw");
    case 1:
        return QStringLiteral("bin");
    default:
        return QString();
    }
}

CDocument* CTestImporter::Import(const QByteArray& bytes)
{
    CDocumentAbstract* document = new CDocumentAbstract;
    document->SetData(bytes.constData(), uint32_t(bytes.size()));
    return document;
}
