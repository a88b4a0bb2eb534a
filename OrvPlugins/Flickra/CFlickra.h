#pragma once
// The animation exporter: an animation document becomes the maker's ANI file, a
// directory of frame times and offsets and the frames' picture bodies, with a
// preview animation of what the phone shows.
#include "Plugin/CImageExporter.h"
#include "Plugin/CPluginBase.h"

class CFlickra : public CPluginBase, public CImageExporter
{
public:
    int UnloadResources() override;
    int IsCompatibleWithProfile(CProfile* profile) override;
    void FilterParametersWithProfile(CParameters* parameters, CProfile* profile, int apply) override;
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
    int GetMaxFrameCount(CProfile* profile) override;

private:
    void LogMessage(const char* id);
};
