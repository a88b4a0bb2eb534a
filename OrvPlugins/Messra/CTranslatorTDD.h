#pragma once
#include "CSmsTranslator.h"

class CSmsComposer;
class CSmsItem;

// The TDD SMS translator: one media file of the maker's formats, or an
// e-card template, becomes the user data of one or more TDD short messages.
class CTranslatorTDD : public CSmsTranslator
{
public:
    CTranslatorTDD();

    int IsCompatibleWithProfile(CProfile* profile) override;
    void FilterParametersWithProfile(CParameters* parameters, CProfile* profile, int apply) override;
    QString GetExportExtension() override;
    QString GetDescription() override;
    QString GetParametersFileName() override;
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
    // Adds a valid item to the message; logs a refusal.
    bool AddItem(CSmsComposer& composer, const CSmsItem& item, bool valid);
};
