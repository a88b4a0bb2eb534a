#include "CSelectorPanel.h"
#include "CFileSelectorControl.h"
#include "FileLineControls.h"
#include <QVBoxLayout>

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
