// An exporter of test documents to "TST" files whose behaviour the document's first word selects:
// "fail" fails with a log text, "two" leaves two chunks, "oversize" one chunk of 4096 bytes, "preview" one
// chunk and a 4 x 3 picture preview, "nochunk" succeeds with no output, "nomemory" runs out of memory; any other
// text is copied as one chunk.
// A profile whose boolean "TestExporterCompatible" is false is refused; one with the integer
// "TestExporterAnswer" gets that number as the answer to the profile check.
#include "CTestDocument.h"
#include "Documents/CDocumentPicture.h"
#include "Parameters/CParameter.h"
#include "Parameters/CProfile.h"
#include "Plugin/CPluginBase.h"
#include "Plugin/PluginExports.h"
#include <QImage>
#include <new>

namespace {

class CTestExporter : public CPluginBase
{
public:
    int IsCompatibleWithProfile(CProfile* profile) override
    {
        if (profile && profile->GetIntParameter(QStringLiteral("TestExporterAnswer")))
            return profile->GetIntParameter(QStringLiteral("TestExporterAnswer"))->mValue;
        if (!profile || !profile->GetParameter(QStringLiteral("TestExporterCompatible")))
            return 1;
        const CBoolParameter* flag = profile->GetBoolParameter(QStringLiteral("TestExporterCompatible"));
        return flag && flag->mValue ? 1 : 0;
    }
    int GetDocumentType() override { return CDocument::MELODY; }
    int GetPreviewDocumentType() override { return CDocument::PICTURE; }
    int GetConverterType() override { return EXPORTER; }
    int GetImportExtensionCount() override { return 0; }
    QString GetImportExtension(int) override { return QString(); }
    QString GetExportExtension() override { return QStringLiteral("TST"); }
    QString GetDescription() override { return QStringLiteral("Test exporter"); }
    QString GetParametersFileName() override { return QStringLiteral("TestExporter.xml"); }
    CDocument* Import(const QByteArray&) override { return nullptr; }

    bool Convert(CDocument* document) override
    {
        if (!document || document->GetDocType() != CDocument::MELODY || !mRawDataList.isEmpty())
            return Fail(QStringLiteral("Nothing to convert\n"));
        const QByteArray text = static_cast<CTestDocument*>(document)->GetText();
        emit SetProgress(QStringLiteral("converting"), 50);
        if (text.startsWith("fail"))
            return Fail(QStringLiteral("Test conversion failed\n"));
        if (text.startsWith("nomemory")) {
            mRawDataList.append(QByteArray("partial"));
            throw std::bad_alloc();
        }
        if (text.startsWith("two")) {
            mRawDataList.append(QByteArray("AB"));
            mRawDataList.append(QByteArray("CDE"));
        } else if (text.startsWith("oversize")) {
            mRawDataList.append(QByteArray(4096, 'X'));
        } else if (text.startsWith("preview")) {
            mRawDataList.append(text);
            QImage image(4, 3, QImage::Format_RGB32);
            image.fill(qRgb(10, 20, 30));
            delete mpPreviewDocument;
            mpPreviewDocument = new CDocumentPicture(image);
        } else if (!text.startsWith("nochunk")) {
            mRawDataList.append(text);
        }
        emit SetProgress(QStringLiteral("converting"), 100);
        return true;
    }

private:
    bool Fail(const QString& text)
    {
        mConversionLog.AddText(CConversionLog::SUMMARY | CConversionLog::DETAILED, text);
        return false;
    }
};

CPluginClassInfoOf<CTestExporter> g_TestExporterInfo;

} // namespace

ORV_PLUGIN_EXPORTS("Test exporter", 0x10016, &g_TestExporterInfo)
