#pragma once
#include "Plugin/CPluginBase.h"

// An exporter of pictures and animations that emits progress and leaves
// two output chunks and a preview picture.
class CTestExporter : public CPluginBase
{
public:
    int GetDocumentType() override;
    int GetPreviewDocumentType() override;
    int GetConverterType() override { return EXPORTER; }
    int GetImportExtensionCount() override { return 0; }
    QString GetImportExtension(int) override { return QString(); }
    QString GetExportExtension() override { return QStringLiteral("TST"); }
    QString GetDescription() override { return QStringLiteral("Test exporter"); }
    QString GetParametersFileName() override { return QStringLiteral("TestExporter.xml"); }
    CDocument* Import(const QByteArray&) override { return nullptr; }
    bool Convert(CDocument* document) override;
};

// An importer that turns any bytes into a raw document.
class CTestImporter : public CPluginBase
{
public:
    int GetDocumentType() override;
    int GetPreviewDocumentType() override;
    int GetConverterType() override { return IMPORTER; }
    int GetImportExtensionCount() override { return 2; }
    QString GetImportExtension(int index) override;
    QString GetExportExtension() override { return QString(); }
    QString GetDescription() override { return QString(); }
    QString GetParametersFileName() override { return QString(); }
    CDocument* Import(const QByteArray& bytes) override;
    bool Convert(CDocument*) override { return false; }
};
