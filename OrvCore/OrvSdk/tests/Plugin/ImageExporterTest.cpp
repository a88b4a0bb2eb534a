// The image exporters' extra operations are reached through the converter
// base by a virtual call, which also works for converters made in another
// module (the engine tests load such a plug-in).
#include "Plugin/CImageExporter.h"
#include "Plugin/CPluginBase.h"

#include <gtest/gtest.h>

namespace {
class CPlainConverter : public CPluginBase
{
public:
    int GetDocumentType() override { return 8; }
    int GetPreviewDocumentType() override { return 2; }
    int GetConverterType() override { return EXPORTER; }
    int GetImportExtensionCount() override { return 0; }
    QString GetImportExtension(int) override { return QString(); }
    QString GetExportExtension() override { return QStringLiteral("PLN"); }
    QString GetDescription() override { return QString(); }
    QString GetParametersFileName() override { return QString(); }
    CDocument* Import(const QByteArray&) override { return nullptr; }
    bool Convert(CDocument*) override { return false; }
};

// A picture exporter: it keeps the default frame count.
class CPictureConverter : public CPlainConverter, public CImageExporter
{
public:
    CImageExporter* GetImageExporter() override { return this; }
    QSize GetMaxFrameSize() override { return QSize(16, 16); }
    int IsPictureSizeSupported(const QSize& size) override { return size == QSize(8, 8) || size == QSize(16, 16); }
};
} // namespace

TEST(ImageExporter, OnlyImageExportersOfferTheExtraOperations)
{
    CPlainConverter plain;
    EXPECT_EQ(plain.GetImageExporter(), nullptr);

    CPictureConverter picture;
    CPluginBase* base = &picture;
    CImageExporter* image = base->GetImageExporter();
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->GetMaxFrameSize(), QSize(16, 16));
    EXPECT_NE(image->IsPictureSizeSupported(QSize(8, 8)), 0);
    EXPECT_EQ(image->IsPictureSizeSupported(QSize(8, 9)), 0);
    // A picture exporter writes one frame whatever the profile.
    EXPECT_EQ(image->GetMaxFrameCount(nullptr), 1);
}
