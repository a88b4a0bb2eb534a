// Picture and animation exporters with the image exporters' extra operations. Both write pictures of at most
// 128 x 128 pixels, except those 32 pixels wide. The picture exporter ("TPX") writes one chunk "WxH"; the
// animation exporter ("TAX") writes one chunk "N:WxH@t0,t1,..." (frame count, first frame's size, display
// times) and takes at most the profile's "NbMaxPictAnim" frames. Each leaves a copy of what it converted as its
// preview.
#include "Documents/CDocumentAnimation.h"
#include "Documents/CDocumentPicture.h"
#include "Parameters/CProfile.h"
#include "Plugin/CImageExporter.h"
#include "Plugin/CPluginBase.h"
#include "Plugin/PluginExports.h"

namespace {

QByteArray SizeText(const QImage& image)
{
    return QByteArray::number(image.width()) + 'x' + QByteArray::number(image.height());
}

class CImageExporterBase : public CPluginBase, public CImageExporter
{
public:
    int GetConverterType() override { return EXPORTER; }
    int GetImportExtensionCount() override { return 0; }
    QString GetImportExtension(int) override { return QString(); }
    QString GetParametersFileName() override { return QString(); }
    CDocument* Import(const QByteArray&) override { return nullptr; }
    CImageExporter* GetImageExporter() override { return this; }
    QSize GetMaxFrameSize() override { return QSize(128, 128); }
    int IsPictureSizeSupported(const QSize& size) override
    {
        return size.width() <= 128 && size.height() <= 128 && size.width() != 32;
    }
};

class CTestPictureExporter : public CImageExporterBase
{
public:
    int GetDocumentType() override { return CDocument::PICTURE; }
    int GetPreviewDocumentType() override { return CDocument::PICTURE; }
    QString GetExportExtension() override { return QStringLiteral("TPX"); }
    QString GetDescription() override { return QStringLiteral("Test picture exporter"); }
    bool Convert(CDocument* document) override
    {
        if (!document || document->GetDocType() != CDocument::PICTURE)
            return false;
        const QImage& image = static_cast<CDocumentPicture*>(document)->GetImage();
        mRawDataList.append(SizeText(image));
        delete mpPreviewDocument;
        mpPreviewDocument = new CDocumentPicture(image.copy());
        return true;
    }
};

class CTestAnimationExporter : public CImageExporterBase
{
public:
    int GetDocumentType() override { return CDocument::ANIMATION; }
    int GetPreviewDocumentType() override { return CDocument::ANIMATION; }
    QString GetExportExtension() override { return QStringLiteral("TAX"); }
    QString GetDescription() override { return QStringLiteral("Test animation exporter"); }
    int GetMaxFrameCount(CProfile* profile) override { return profile ? profile->GetNbMaxPictAnim() : 1; }
    bool Convert(CDocument* document) override
    {
        if (!document || document->GetDocType() != CDocument::ANIMATION)
            return false;
        const auto* animation = static_cast<CDocumentAnimation*>(document);
        const int count = animation->GetAnimationFrameCount();
        QByteArray text = QByteArray::number(count) + ':';
        if (count > 0)
            text += SizeText(animation->GetFrame(0)->GetImage());
        text += '@';
        for (int i = 0; i < count; ++i)
            text += (i ? "," : "") + QByteArray::number(animation->GetFrame(i)->GetDisplayTime());
        mRawDataList.append(text);
        delete mpPreviewDocument;
        mpPreviewDocument = new CDocumentAnimation(*animation);
        return true;
    }
};

CPluginClassInfoOf<CTestPictureExporter> g_PictureExporterInfo;
CPluginClassInfoOf<CTestAnimationExporter> g_AnimationExporterInfo;

} // namespace

ORV_PLUGIN_EXPORTS("Test image exporter", 0x10000, &g_PictureExporterInfo, &g_AnimationExporterInfo)
