#pragma once
#include "CSingleFileSelectorPanel.h"

class CConverterSelectorControl;
class CFileIndicatorControl;

// A single-file panel with the chosen file's name line and a converter combo: the source panels of the media
// and SMS tabs.
class CSelectorPanel : public CSingleFileSelectorPanel
{
    Q_OBJECT
public:
    CSelectorPanel(QWidget* parent, const QString& name, int diskSelectorLayout);
    ~CSelectorPanel() override;

    CFileIndicatorControl* GetFileIndicator() const { return mpFileIndicator; }
    CConverterSelectorControl* GetConverterSelector() const { return mpConverterSelector; }

public slots:
    void LoadPanel(CDatabase& database) override = 0;
    void SetCurrentFile(QString& name) override = 0;

protected:
    CFileIndicatorControl* mpFileIndicator;
    CConverterSelectorControl* mpConverterSelector;
};
