#pragma once
#include "Plugin/CPluginBase.h"

class CSmsComposer;

// The TDD SMS translator: one media file of the maker's formats, or an
// e-card template, becomes the user data of one or more TDD short messages.
class CTranslatorTDD : public CPluginBase
{
public:
    CTranslatorTDD() = default;

    int UnloadResources() override;
    int IsCompatibleWithProfile(CProfile* profile) override;
    void FilterParametersWithProfile(CParameters* parameters, CProfile* profile, int apply) override;
    void FilterParametersWithDocument(CParameters* parameters, CDocument* document) override;
    void SetParameters(CParameters* parameters) override;
    int GetDocumentType() override;
    int GetPreviewDocumentType() override;
    int GetConverterType() override;
    int GetImportExtensionCount() override;
    QString GetImportExtension(int index) override;
    QString GetExportExtension() override;
    QString GetDescription() override;
    QString GetParametersFileName() override;
    CDocument* Import(const QByteArray& bytes) override;
    bool Convert(CDocument* pDocument) override;

private:
    struct Settings
    {
        bool copyrighted = false;
        bool encodeName = false;
        bool truncate = false;
        int packetCount = 1;
    };

    bool ComposeSingleFile(CSmsComposer& composer, const QString& path, const QString& baseFolder,
                           const Settings& settings);
    bool ComposeTemplate(CSmsComposer& composer, const QByteArray& bytes, const QString& path,
                         const QString& baseFolder, const Settings& settings);
};
