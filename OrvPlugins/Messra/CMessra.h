#pragma once
#include "CSmsTranslator.h"

class CSmsComposer;
class CSmsItem;

// The EMS SMS translator: an e-card or one EMS media file becomes the user
// data of one or more EMS short messages.
class CMessra : public CSmsTranslator
{
public:
    CMessra();

    int IsCompatibleWithProfile(CProfile* profile) override;
    void FilterParametersWithProfile(CParameters* parameters, CProfile* profile, int apply) override;
    QString GetExportExtension() override;
    QString GetDescription() override;
    QString GetParametersFileName() override;
    bool Convert(CDocument* pDocument) override;

private:
    bool ComposeEcard(CSmsComposer& composer, const QByteArray& bytes, const QString& baseFolder, bool truncate,
                      bool odi);
    bool ComposeSingleFile(CSmsComposer& composer, const QString& path, const QString& baseFolder, bool truncate,
                           bool odi);
    // Adds an item the EMS message can carry; logs why it cannot otherwise.
    bool AddItem(CSmsComposer& composer, const CSmsItem& item, bool valid, const QString& ref);
};
