// An SMS translator of "txt" and "ecd" files: the raw bytes are cut into chunks of at most ten bytes. A file
// that starts with "unreadable" fails to import, one that starts with "fail" fails to translate with a log
// text ending in two line feeds, one that starts with "nomemory" runs out of memory while it translates, and one
// that starts with "preview" also leaves a preview document.
#include "Documents/CDocumentAbstract.h"
#include "Plugin/CPluginBase.h"
#include "Plugin/PluginExports.h"
#include <new>

namespace {

class CTestTranslator : public CPluginBase
{
public:
    int GetDocumentType() override { return CDocument::ABSTRACT; }
    int GetPreviewDocumentType() override { return CDocument::ABSTRACT; }
    int GetConverterType() override { return TRANSLATOR; }
    int GetImportExtensionCount() override { return 2; }
    QString GetImportExtension(int index) override
    {
        if (index == 0)
            return QStringLiteral("txt");
        return index == 1 ? QStringLiteral("ecd") : QString();
    }
    QString GetExportExtension() override { return QStringLiteral("TST_SMS"); }
    QString GetDescription() override { return QStringLiteral("Test SMS translator"); }
    QString GetParametersFileName() override { return QStringLiteral("TestTranslator.xml"); }

    CDocument* Import(const QByteArray& bytes) override
    {
        if (bytes.startsWith("unreadable")) {
            mConversionLog.AddText(CConversionLog::SUMMARY | CConversionLog::DETAILED,
                                   QStringLiteral("Not a test message\n"));
            return nullptr;
        }
        auto* document = new CDocumentAbstract;
        if (!document->SetData(bytes.constData(), uint32_t(bytes.size()))) {
            delete document;
            return nullptr;
        }
        return document;
    }

    bool Convert(CDocument* document) override
    {
        if (!document || document->GetDocType() != CDocument::ABSTRACT || !mRawDataList.isEmpty())
            return false;
        const QByteArray bytes = static_cast<CDocumentAbstract*>(document)->ToByteArray();
        if (bytes.startsWith("nomemory")) {
            mRawDataList.append(bytes);
            throw std::bad_alloc();
        }
        if (bytes.isEmpty() || bytes.startsWith("fail")) {
            mConversionLog.AddText(CConversionLog::SUMMARY | CConversionLog::DETAILED,
                                   QStringLiteral("Translation failed\n\n"));
            return false;
        }
        for (int at = 0; at < bytes.size(); at += 10)
            mRawDataList.append(bytes.mid(at, 10));
        if (bytes.startsWith("preview")) {
            delete mpPreviewDocument;
            mpPreviewDocument = Import(bytes);
        }
        return true;
    }
};

CPluginClassInfoOf<CTestTranslator> g_TestTranslatorInfo;

} // namespace

ORV_PLUGIN_EXPORTS("Test translator", 0x20000, &g_TestTranslatorInfo)
