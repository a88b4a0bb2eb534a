// A cancelable exporter of the test importer's documents to "TWX" files, with a sound preview. It reports
// progress once and then stops when it was asked to cancel meanwhile. Its behaviour follows the document's
// first word: "fail" leaves a partial chunk and a preview and fails; "nopreview" writes the text without a
// preview; any other text is written with a 10 ms tone as preview.
#include "../../TestPlugins/CTestDocument.h"
#include "Plugin/CPluginBase.h"
#include "Plugin/PluginExports.h"
#include "Wave/CDocumentWave.h"

namespace {

class CTestSoundExporter : public CPluginBase
{
public:
    int GetDocumentType() override { return CDocument::MELODY; }
    int GetPreviewDocumentType() override { return CDocument::WAVE; }
    int GetConverterType() override { return EXPORTER; }
    int GetImportExtensionCount() override { return 0; }
    QString GetImportExtension(int) override { return QString(); }
    QString GetExportExtension() override { return QStringLiteral("TWX"); }
    QString GetDescription() override { return QStringLiteral("Test sound exporter"); }
    QString GetParametersFileName() override { return QString(); }
    CDocument* Import(const QByteArray&) override { return nullptr; }
    int IsCancelable() override { return 1; }
    int Cancel() override
    {
        m_Stop = true;
        return 1;
    }

    bool Convert(CDocument* document) override
    {
        m_Stop = false;
        if (!document || document->GetDocType() != CDocument::MELODY)
            return false;
        const QByteArray text = static_cast<CTestDocument*>(document)->GetText();
        emit SetProgress(QStringLiteral("working"), 40);
        if (m_Stop)
            return false;
        if (text.startsWith("fail")) {
            // Leaves what it made so far, as a converter may.
            mRawDataList.append(QByteArray("partial"));
            delete mpPreviewDocument;
            mpPreviewDocument = MakeTone();
            mConversionLog.AddText(CConversionLog::SUMMARY | CConversionLog::DETAILED,
                                   QStringLiteral("Sound conversion failed\n\n"));
            return false;
        }
        mRawDataList.append(text);
        if (!text.startsWith("nopreview")) {
            delete mpPreviewDocument;
            mpPreviewDocument = MakeTone();
        }
        return true;
    }

private:
    static CDocument* MakeTone()
    {
        auto* wave = new CDocumentWave;
        wave->CreateHeader(8000, 16, 1);
        wave->AppendTone(440.0, 0.5, 10);
        return wave;
    }

    bool m_Stop = false;
};

CPluginClassInfoOf<CTestSoundExporter> g_SoundExporterInfo;

} // namespace

ORV_PLUGIN_EXPORTS("Test sound exporter", 0x10000, &g_SoundExporterInfo)
