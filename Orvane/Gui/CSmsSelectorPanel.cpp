#include "CSmsSelectorPanel.h"
#include "CFileSelectorControl.h"
#include "CDiskSelectorControl.h"
#include "FileLineControls.h"
#include "GuiResources.h"
#include <QComboBox>

CSmsSelectorPanel::CSmsSelectorPanel(QWidget* parent, const QString& name, int diskSelectorLayout)
    : CSelectorPanel(parent, name, diskSelectorLayout)
{
    setTitle(GuiText("CSmsSelectorPanel", "id_source_panel"));
    mpDiskSelector->SetCurrentFolder(&mCurrentFolder);
    CheckConnection(connect(this, &CSmsSelectorPanel::PathChanged, mpDiskSelector,
                            &CDiskSelectorControl::UpdateComboList));
    CheckConnection(connect(mpDiskSelector->GetCombo(), qOverload<int>(&QComboBox::activated), this,
                            &CSmsSelectorPanel::DiskChanged));
    CheckConnection(connect(mpDiskSelector, &CDiskSelectorControl::ItemChanged, this,
                            &CSmsSelectorPanel::DiskChanged));
    CheckConnection(connect(mpConverterSelector, qOverload<int>(&QComboBox::activated), this,
                            &CSmsSelectorPanel::OnConverterControlChanged));
}

void CSmsSelectorPanel::SetFileList(const QStringList*)
{
}

void CSmsSelectorPanel::LoadPanel(CDatabase&)
{
}

void CSmsSelectorPanel::SetCurrentFile(QString& name)
{
    mCurrentFile = name;
}

void CSmsSelectorPanel::DiskChanged(int)
{
}

void CSmsSelectorPanel::UpdateFileView(int)
{
}

void CSmsSelectorPanel::UpdatePanel(const CFileInfo*)
{
    mInitialised = true;
}

void CSmsSelectorPanel::SetOriginalPath(QString& folder)
{
    folder = mCurrentFolder;
}

void CSmsSelectorPanel::OpenSmsDialog()
{
}

void CSmsSelectorPanel::show()
{
    UpdatePanel(nullptr);
    QWidget::show();
}

void CSmsSelectorPanel::MediaConversionSaved(QString& path)
{
    mSavedMedia = path;
}

void CSmsSelectorPanel::GetTranslatorIndex(int* index)
{
    *index = mpConverterSelector->currentIndex();
}

void CSmsSelectorPanel::OnConverterControlChanged(int)
{
    QString empty;
    SetCurrentFile(empty);
    mpFileIndicator->SetSelectedFileName(mCurrentFile);
    emit CurrentFileChanged(mCurrentFile);
    emit IndicateDestFile(mCurrentFile, mpConverterSelector->currentIndex());
}

void CSmsSelectorPanel::SetWarnings(B32 on)
{
    mWarnings = on;
}

void CSmsSelectorPanel::UpdateConverterList()
{
}
