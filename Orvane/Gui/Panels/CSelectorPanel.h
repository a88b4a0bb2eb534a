#pragma once
#include "Gui/Panels/CSingleFileSelectorPanel.h"

class CConverterSelectorControl;
class CFileIndicatorControl;
class CLocalFileDriver;

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
    // The file list's name pattern for the extensions ("*.MID;*.mid;;"), and the open dialog filter with one
    // entry per extension (the dialog reads "*.MID;*.mid" as one pattern).
    static QString ImportPattern(const QStringList& extensions);
    static QString DialogPattern(const QStringList& extensions);
    // Lists the driver's current folder: its sub-folders, then the files the filter lets through.
    void ListEntries(CLocalFileDriver& driver, const QString& filter);
    // Lists the disk selector's folder.
    void RefreshFileList(const QString& filter);
    // Selects the row of that name and scrolls it into view.
    void SelectEntry(const QString& name);
    // Lists the folder again and selects the file that was selected; false when that file is gone.
    bool RelistKeepingSelection(const QString& filter);
    // The index of the converter named kept after the combo was refilled; the first (with a note to the user
    // when warnings are on and the panel shows) when it is gone. className names the panel's texts.
    int IndexAfterRefill(const QString& kept, bool warnings, const char* className);

    CFileIndicatorControl* mpFileIndicator;
    CConverterSelectorControl* mpConverterSelector;
};
