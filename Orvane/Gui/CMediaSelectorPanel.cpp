#include "CMediaSelectorPanel.h"
#include "CFileSelectorControl.h"
#include "CDiskSelectorControl.h"
#include "CPreviewPanel.h"
#include "FileLineControls.h"
#include "GuiResources.h"
#include <QComboBox>
#include <QVBoxLayout>

namespace {
QString Text(const char* id)
{
    return GuiText("CMediaSelectorPanel", id);
}
} // namespace

CMediaSelectorPanel::CMediaSelectorPanel(QWidget* parent, const QString& name, int diskSelectorLayout)
    : CSelectorPanel(parent, name, diskSelectorLayout), mpPreviewGroup(new QGroupBox(this)),
      mpPreviewPanel(new CPreviewPanel(mpPreviewGroup, QStringLiteral("OriginalPreviewPanel")))
{
    setTitle(Text("id_source_panel"));
    mpDiskSelector->setToolTip(Text("id_tool_tip_directory_selection"));
    mpFileList->setToolTip(Text("id_tool_tip_file_and_directory_list"));
    mpFileIndicator->setToolTip(Text("id_tool_tip_selected_file_name_line_edit"));
    mpConverterSelector->setToolTip(Text("id_tool_tip_converter_control"));
    mpPreviewGroup->setObjectName(QStringLiteral("PreviewPanelGroupBox"));
    mpPreviewGroup->setTitle(Text("id_preview_panel"));
    auto* previewBox = new QVBoxLayout(mpPreviewGroup);
    previewBox->addWidget(mpPreviewPanel);
    mpPreviewPanel->setToolTip(Text("id_tool_tip_source_preview"));
    mpPreviewPanel->setMinimumSize(1, 1);
    PanelLayout()->addWidget(mpPreviewGroup, 1);
    mpDiskSelector->SetCurrentFolder(&mCurrentFolder);

    CheckConnection(connect(this, qOverload<const CFileInfo*>(&CSingleFileSelectorPanel::Clicked), this,
                            &CMediaSelectorPanel::UpdatePanel));
    CheckConnection(connect(this, &CMediaSelectorPanel::PathChanged, mpDiskSelector,
                            &CDiskSelectorControl::UpdateComboList));
    CheckConnection(connect(mpDiskSelector->GetCombo(), qOverload<int>(&QComboBox::activated), this,
                            &CMediaSelectorPanel::DiskChanged));
    CheckConnection(connect(mpDiskSelector, &CDiskSelectorControl::ItemChanged, this,
                            &CMediaSelectorPanel::DiskChanged));
    CheckConnection(connect(mpConverterSelector, qOverload<int>(&QComboBox::activated), this,
                            &CMediaSelectorPanel::OnConverterControlChanged));
    CheckConnection(connect(mpConverterSelector, qOverload<int>(&QComboBox::activated), this,
                            &CMediaSelectorPanel::CurrentFileTypeChanged));
}

void CMediaSelectorPanel::SetCurrentPath(const QString& folder)
{
    mCurrentFolder = folder;
}

void CMediaSelectorPanel::SetOriginalPath(QString& folder)
{
    folder = mCurrentFolder;
}

void CMediaSelectorPanel::SetConverterIndex(int* index)
{
    *index = mpConverterSelector->currentIndex();
}

void CMediaSelectorPanel::SetFileList(const QStringList*)
{
}

void CMediaSelectorPanel::LoadPanel(CDatabase&)
{
}

void CMediaSelectorPanel::SetCurrentFile(QString& name)
{
    mCurrentFile = name;
}

void CMediaSelectorPanel::DiskChanged(int)
{
}

void CMediaSelectorPanel::OnConverterControlChanged(int)
{
}

void CMediaSelectorPanel::UpdateFileView(int)
{
}

void CMediaSelectorPanel::UpdatePanel(const CFileInfo*)
{
    mInitialised = true;
}

void CMediaSelectorPanel::show()
{
    UpdatePanel(nullptr);
    QWidget::show();
}

void CMediaSelectorPanel::OpenMediaDialog()
{
}

void CMediaSelectorPanel::CloseMediaDialog()
{
    mpPreviewPanel->LoadMedia(nullptr);
    emit ClearMediaAsked();
    SelectNone();
    mCurrentFile = QString();
    mpFileIndicator->SetSelectedFileName(mCurrentFile);
    emit SetNotConverted();
    emit SetNotSaved();
    emit CurrentFileChanged(mCurrentFile);
    emit IndicateDestFile(mCurrentFile, mpConverterSelector->currentIndex());
}

void CMediaSelectorPanel::SetWarnings(B32 on)
{
    mWarnings = on;
}

void CMediaSelectorPanel::UpdateConverterList()
{
}

void CMediaSelectorPanel::SetNbOfConverters(int* count)
{
    *count = mNbConverters;
}
