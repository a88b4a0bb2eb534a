#include "SourceReader.h"
#include "CLocalFileInfo.h"
#include "CPluginClass.h"
#include "CPluginManager.h"

CSourceReader ReaderFor(const CPluginManager& plugins, CPluginBase* converter, const QString& sourcePath)
{
    CSourceReader reader;
    if (!converter)
        return reader;
    const QString extension = CLocalFileInfo(sourcePath).GetExtension(false);
    if (converter->GetConverterType() & CPluginManager::IMPORTER) {
        for (int i = 0; i < converter->GetImportExtensionCount() && !reader.plugin; ++i) {
            if (converter->GetImportExtension(i).compare(extension, Qt::CaseInsensitive) == 0)
                reader = {converter, converter->GetSourceByteLimit()};
        }
        return reader;
    }
    const QList<CPluginClass*> importers = plugins.Query(CPluginManager::IMPORTER, 0, converter->GetDocumentType(),
                                                         QString(), extension, nullptr);
    if (!importers.isEmpty()) {
        CPluginBase* importer = importers.first()->GetConverter();
        reader = {importer, importer->GetSourceByteLimit()};
    }
    return reader;
}
