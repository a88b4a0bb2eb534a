// An importer of "TXT" and "TST" files: the file's bytes become a test document; one that starts with
// "nomemory!" runs out of memory.
#include "CTestDocument.h"
#include "Plugin/CPluginBase.h"
#include "Plugin/PluginExports.h"
#include <new>

namespace {

class CTestImporter : public CPluginBase
{
public:
    int GetDocumentType() override { return CDocument::MELODY; }
    int GetPreviewDocumentType() override { return 0; }
    int GetConverterType() override { return IMPORTER; }
    int GetImportExtensionCount() override { return 2; }
    QString GetImportExtension(int index) override
    {
        if (index == 0)
            return QStringLiteral("TXT");
        return index == 1 ? QStringLiteral("TST") : QString();
    }
    QString GetExportExtension() override { return QString(); }
    QString GetDescription() override { return QString(); }
    QString GetParametersFileName() override { return QString(); }
    CDocument* Import(const QByteArray& bytes) override
    {
        if (bytes.startsWith("nomemory!"))
            throw std::bad_alloc();
        if (bytes.isEmpty()) {
            mConversionLog.AddText(CConversionLog::SUMMARY | CConversionLog::DETAILED,
                                   QStringLiteral("Empty test file\n"));
            return nullptr;
        }
        return new CTestDocument(bytes);
    }
    bool Convert(CDocument*) override { return false; }
};

CPluginClassInfoOf<CTestImporter> g_TestImporterInfo;

} // namespace

ORV_PLUGIN_EXPORTS("Test importer", 0x10001, &g_TestImporterInfo)
