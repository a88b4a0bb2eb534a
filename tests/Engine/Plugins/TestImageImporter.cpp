// Importers of test pictures and animations, written as text so the tests can make them by hand:
// a ".TPI" file holds "width height" and becomes a picture of that size; a ".TAN" file holds
// "width height frames" and becomes an animation whose frame i shows for 100 * (i + 1) ms.
// Any other text is refused with a log text.
#include "Documents/CDocumentAnimation.h"
#include "Documents/CDocumentPicture.h"
#include "Plugin/CPluginBase.h"
#include "Plugin/PluginExports.h"
#include <QImage>
#include <QList>

namespace {

// The numbers of the text, or an empty list when it holds anything else or a number out of 1..1024.
QList<int> ReadNumbers(const QByteArray& bytes, int count)
{
    QList<int> numbers;
    for (const QByteArray& word : bytes.simplified().split(' ')) {
        bool ok = false;
        const int value = word.toInt(&ok);
        if (!ok || value < 1 || value > 1024)
            return {};
        numbers.append(value);
    }
    return numbers.size() == count ? numbers : QList<int>();
}

QImage Filled(int width, int height, int shade)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(qRgb(shade, 255 - shade, 40));
    return image;
}

class CImageImporterBase : public CPluginBase
{
public:
    int GetPreviewDocumentType() override { return 0; }
    int GetConverterType() override { return IMPORTER; }
    int GetImportExtensionCount() override { return 1; }
    QString GetExportExtension() override { return QString(); }
    QString GetDescription() override { return QString(); }
    QString GetParametersFileName() override { return QString(); }
    bool Convert(CDocument*) override { return false; }

protected:
    CDocument* Refuse()
    {
        mConversionLog.AddText(CConversionLog::SUMMARY | CConversionLog::DETAILED, QStringLiteral("Bad test image\n"));
        return nullptr;
    }
};

class CTestPictureImporter : public CImageImporterBase
{
public:
    int GetDocumentType() override { return CDocument::PICTURE; }
    QString GetImportExtension(int index) override { return index == 0 ? QStringLiteral("TPI") : QString(); }
    CDocument* Import(const QByteArray& bytes) override
    {
        const QList<int> size = ReadNumbers(bytes, 2);
        if (size.isEmpty())
            return Refuse();
        return new CDocumentPicture(Filled(size.at(0), size.at(1), 0));
    }
};

class CTestAnimationImporter : public CImageImporterBase
{
public:
    int GetDocumentType() override { return CDocument::ANIMATION; }
    QString GetImportExtension(int index) override { return index == 0 ? QStringLiteral("TAN") : QString(); }
    CDocument* Import(const QByteArray& bytes) override
    {
        const QList<int> numbers = ReadNumbers(bytes, 3);
        if (numbers.isEmpty() || numbers.at(2) > 64)
            return Refuse();
        auto* animation = new CDocumentAnimation;
        for (int i = 0; i < numbers.at(2); ++i)
            animation->AppendFrame(Filled(numbers.at(0), numbers.at(1), i * 3), 100 * (i + 1));
        return animation;
    }
};

CPluginClassInfoOf<CTestPictureImporter> g_PictureImporterInfo;
CPluginClassInfoOf<CTestAnimationImporter> g_AnimationImporterInfo;

} // namespace

ORV_PLUGIN_EXPORTS("Test image importer", 0x10000, &g_PictureImporterInfo, &g_AnimationImporterInfo)
