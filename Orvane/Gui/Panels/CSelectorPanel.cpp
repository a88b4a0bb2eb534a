#include "Gui/Panels/CSelectorPanel.h"
#include "Core/CUserPrompt.h"
#include "Gui/Browsing/CDiskSelectorControl.h"
#include "Gui/Browsing/CFileSelectorControl.h"
#include "Gui/Browsing/FileLineControls.h"
#include "Gui/Widgets/GuiResources.h"
#include "Gui/Window/CGuiServices.h"
#include "Host/CFileInfo.h"
#include "Host/CLocalFileDriver.h"
#include <QComboBox>
#include <QVBoxLayout>
#include <memory>

CSelectorPanel::CSelectorPanel(QWidget* parent, const QString& name, int diskSelectorLayout)
    : CSingleFileSelectorPanel(parent, name, diskSelectorLayout),
      mpFileIndicator(new CFileIndicatorControl(this, QStringLiteral("CFileIndicatorControl"))),
      mpConverterSelector(new CConverterSelectorControl(this, QStringLiteral("CConverterSelectorControl")))
{
    mpFileIndicator->SetFileList(mpFileList);
    mpFileList->SetIndicator(mpFileIndicator);
    PanelLayout()->addWidget(mpFileIndicator);
    PanelLayout()->addWidget(mpConverterSelector);
}

CSelectorPanel::~CSelectorPanel()
{
    delete mpFileIndicator;
    delete mpConverterSelector;
}

QString CSelectorPanel::ImportPattern(const QStringList& extensions)
{
    QString filter;
    for (const QString& extension : extensions)
        filter += QStringLiteral("*.") + extension.toUpper() + QStringLiteral(";*.") + extension.toLower()
                  + QStringLiteral(";;");
    return filter;
}

QString CSelectorPanel::DialogPattern(const QStringList& extensions)
{
    QStringList entries;
    for (const QString& extension : extensions)
        entries.append(extension.toUpper() + QStringLiteral(" (*.") + extension.toUpper() + QStringLiteral(" *.")
                       + extension.toLower() + QLatin1Char(')'));
    return entries.join(QStringLiteral(";;"));
}

void CSelectorPanel::ListEntries(CLocalFileDriver& driver, const QString& filter)
{
    Clear();
    AddFiles(driver.GetEntryList(QString(), CFileDriver::DIRS, CFileDriver::UNSORTED | CFileDriver::SORT_DIRS_FIRST));
    // A converter that reads nothing lists no file (an empty pattern would list them all).
    if (!filter.isEmpty())
        AddFiles(driver.GetEntryList(filter, CFileDriver::FILES, CFileDriver::UNSORTED | CFileDriver::SORT_DIRS_FIRST));
}

void CSelectorPanel::RefreshFileList(const QString& filter)
{
    CLocalFileDriver& driver = mpDiskSelector->GetDriver();
    driver.SetCurrentDir(mpDiskSelector->GetCombo()->currentText());
    ListEntries(driver, filter);
}

void CSelectorPanel::SelectEntry(const QString& name)
{
    for (int i = 0; i < mpFileList->topLevelItemCount(); ++i) {
        auto* item = static_cast<CFileListItem*>(mpFileList->topLevelItem(i));
        if (item->GetInfo()->GetFileName() == name) {
            item->setSelected(true);
            mpFileList->scrollToItem(item);
            return;
        }
    }
}

bool CSelectorPanel::RelistKeepingSelection(const QString& filter)
{
    CFileInfoList* selected = GetSelectedFiles();
    std::unique_ptr<CFileInfo> kept(selected && !selected->isEmpty() ? selected->at(0)->Clone() : nullptr);
    RefreshFileList(filter);
    if (!kept)
        return true;
    if (FindItemPos(kept.get()) < 0)
        return false;
    SelectEntry(kept->GetFileName());
    return true;
}

int CSelectorPanel::IndexAfterRefill(const QString& kept, bool warnings, const char* className)
{
    const int index = mpConverterSelector->findText(kept);
    if (index >= 0)
        return index;
    if (warnings && isVisible())
        CGuiServices::Prompt().ShowMessage(CUserPrompt::INFORMATION, GuiText(className, "id_profile_warning_title"),
                                           GuiText(className, "id_profile_warning_text"));
    return 0;
}
