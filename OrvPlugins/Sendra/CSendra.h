#pragma once
// The EMS animation exporter: four frames of 8 x 8 or 16 x 16 pixels become
// the raw object of an EMS small or large animation, 1 bit a pixel, row by row.
#include "Plugin/CImageExporter.h"
#include "Plugin/CPluginBase.h"

class CSendra : public CPluginBase, public CImageExporter
{
public:
    int UnloadResources() override;
    int IsCompatibleWithProfile(CProfile* profile) override;
    int GetDocumentType() override;
    int GetPreviewDocumentType() override;
    int GetConverterType() override;
    int GetImportExtensionCount() override;
    QString GetImportExtension(int index) override;
    QString GetExportExtension() override;
    QString GetDescription() override;
    QString GetParametersFileName() override;
    CDocument* Import(const QByteArray& bytes) override;
    bool Convert(CDocument* document) override;
    CImageExporter* GetImageExporter() override { return this; }

    QSize GetMaxFrameSize() override;
    int IsPictureSizeSupported(const QSize& size) override;
    QList<QSize> GetFixedSizes() override;
    int GetMaxFrameCount(CProfile* profile) override;

private:
    void Log(const char* text);
    bool Fail(const char* text);
};
