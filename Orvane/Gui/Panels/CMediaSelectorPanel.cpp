#include "Gui/Panels/CMediaSelectorPanel.h"
#include "Core/CUserPrompt.h"
#include "Gui/Browsing/CDiskSelectorControl.h"
#include "Gui/Browsing/CFileSelectorControl.h"
#include "Gui/Browsing/FileLineControls.h"
#include "Gui/Panels/CConverterPanel.h"
#include "Gui/Panels/CDestinationSelectorPanel.h"
#include "Gui/Preview/CPreviewPanel.h"
#include "Gui/Widgets/GuiResources.h"
#include "Gui/Window/CGuiServices.h"
#include "Host/CLocalFileDriver.h"
#include "Host/CLocalFileInfo.h"
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
    CheckConnection(
        connect(this, &CMediaSelectorPanel::PathChanged, mpDiskSelector, &CDiskSelectorControl::UpdateComboList));
    CheckConnection(connect(mpDiskSelector->GetCombo(), qOverload<int>(&QComboBox::activated), this,
                            &CMediaSelectorPanel::DiskChanged));
    CheckConnection(
        connect(mpDiskSelector, &CDiskSelectorControl::ItemChanged, this, &CMediaSelectorPanel::DiskChanged));
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

void CMediaSelectorPanel::SetFileList(const QStringList*) {}

void CMediaSelectorPanel::LoadPanel(CDatabase&) {}

void CMediaSelectorPanel::SetCurrentFile(QString& name)
{
    mCurrentFile = name;
}

QString CMediaSelectorPanel::BuildImportFilter()
{
    mExtensions.clear();
    emit GetConverterImportExtensionList(mExtensions, mpConverterSelector->currentIndex());
    return ImportPattern(mExtensions);
}

QString CMediaSelectorPanel::BuildDialogFilter()
{
    BuildImportFilter();
    return DialogPattern(mExtensions);
}

void CMediaSelectorPanel::MediaClosed()
{
    QString none;
    mpFileIndicator->SetSelectedFileName(none);
    mpPreviewPanel->LoadMedia(nullptr);
    emit ClearMediaAsked();
    QString empty;
    emit CurrentFileChanged(empty);
    emit IndicateDestFile(empty, mpConverterSelector->currentIndex());
    emit SetNotConverted();
    emit SetNotSaved();
}

bool CMediaSelectorPanel::MayDropResult()
{
    if (!mWarnings)
        return true;
    B32 converted = 0;
    B32 saved = 0;
    emit IsConverted(&converted);
    emit IsSaved(&saved);
    if (!converted || saved)
        return true;
    const int answer = CGuiServices::Prompt().Ask(Text("id_warning_title"), Text("id_warning_text"),
                                                  {Text("id_yes_caption"), Text("id_no_caption")}, 1, 1);
    return answer == 0;
}

void CMediaSelectorPanel::EnterFolder(const QString& folder)
{
    mCurrentFolder = folder;
    mpDiskSelector->GetDriver().SetCurrentDir(folder);
    emit PathChanged(mCurrentFolder);
    RefreshFileList(BuildImportFilter());
    MediaClosed();
}

void CMediaSelectorPanel::DiskChanged(int index)
{
    if (!MayDropResult())
        return;
    EnterFolder(mpDiskSelector->GetCombo()->itemText(index));
}

void CMediaSelectorPanel::OnConverterControlChanged(int)
{
    if (mCurrentFile.isEmpty()) {
        UpdateFileView(0);
        return;
    }
    if (mWarnings) {
        B32 converted = 0;
        B32 saved = 0;
        emit IsConverted(&converted);
        emit IsSaved(&saved);
        if (converted && !saved) {
            const int answer = CGuiServices::Prompt().Ask(Text("id_warning_title"), Text("id_warning_save_text"),
                                                          {Text("id_yes_caption"), Text("id_no_caption")}, 1, 1);
            if (answer == 0 && mpDestinationPanel)
                mpDestinationPanel->SaveButtonClicked();
        }
    }
    CloseMediaDialog();
    UpdateFileView(0);
}

void CMediaSelectorPanel::UpdateFileView(int)
{
    RefreshFileList(BuildImportFilter());
}

void CMediaSelectorPanel::FillConverters()
{
    QStringList names;
    emit GetConverterNameList(names);
    mNbConverters = int(names.size());
    mpConverterSelector->clear();
    mpConverterSelector->addItems(names);
}

void CMediaSelectorPanel::UpdatePanel(const CFileInfo* info)
{
    if (!mInitialised) {
        mInitialised = true;
        FillConverters();
        mpConverterSelector->setCurrentIndex(0);
        const QString filter = BuildImportFilter();
        if (mCurrentFolder.isEmpty())
            emit GetCurrentPath(mCurrentFolder);
        mpDiskSelector->SetCurrentFolder(&mCurrentFolder);
        emit PathChanged(mCurrentFolder);
        emit CurrentFileTypeChanged(0);
        RefreshFileList(filter);
        if (mpConverterPanel) {
            CheckConnection(connect(mpConverterPanel, &CConverterPanel::ParameterFileTypeChanged, this,
                                    &CMediaSelectorPanel::CurrentFileTypeChanged));
            CheckConnection(connect(mpConverterPanel, &CConverterPanel::ParameterFileTypeChanged, this,
                                    &CMediaSelectorPanel::UpdateFileView));
        }
        return;
    }
    if (!info || !MayDropResult())
        return;
    if (info->IsDir()) {
        EnterFolder(info->GetFilePath());
        return;
    }
    // The name is kept as it stands: file names differ by case here.
    QString fullName = mCurrentFolder;
    if (!fullName.endsWith(QLatin1Char('/')))
        fullName += QLatin1Char('/');
    fullName += info->GetFileName();
    mCurrentFile = info->GetFileName();
    mpPreviewPanel->LoadMedia(nullptr);
    const int converter = mpConverterSelector->currentIndex();
    B32 loaded = 0;
    emit LoadMediaAsked(fullName, converter, loaded);
    if (loaded) {
        CDocument* document = nullptr;
        emit GetLoadedDocument(&document);
        if (document)
            mpPreviewPanel->LoadMedia(document);
        if (!mCurrentFile.isNull())
            mpFileIndicator->SetSelectedFileName(mCurrentFile);
        emit SetNotConverted();
        emit SetNotSaved();
        emit CurrentFileChanged(mCurrentFile);
        emit IndicateDestFile(mCurrentFile, converter);
        emit CurrentFileTypeChanged(converter);
        return;
    }
    QString none;
    mpFileIndicator->SetSelectedFileName(none);
    // A file deleted behind the list's back leaves the list once its read failed.
    if (!mpDiskSelector->GetDriver().Exists(fullName))
        RefreshFileList(BuildImportFilter());
    QString empty;
    emit CurrentFileChanged(empty);
    emit IndicateDestFile(empty, converter);
    emit CurrentFileTypeChanged(converter);
}

void CMediaSelectorPanel::show()
{
    UpdatePanel(nullptr);
    QWidget::show();
}

void CMediaSelectorPanel::OpenMediaDialog()
{
    const QString name = CGuiServices::Prompt().ChooseOpenFile(this, QString(), BuildDialogFilter());
    if (name.isEmpty())
        return;
    const CLocalFileInfo file(name);
    mCurrentFolder = file.GetDirPath();
    mpDiskSelector->GetDriver().SetCurrentDir(mCurrentFolder);
    emit PathChanged(mCurrentFolder);
    UpdatePanel(&file);
    UpdateFileView(0);
    // The list shows which of its files was opened, as after a click on its row.
    if (!mCurrentFile.isEmpty() && mCurrentFile == file.GetFileName())
        SelectEntry(mCurrentFile);
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

void CMediaSelectorPanel::enterEvent(QEnterEvent* event)
{
    const QString filter = BuildImportFilter();
    if (mInitialised && IsFolderChanged(filter) && !RelistKeepingSelection(filter))
        CloseMediaDialog();
    CSelectorPanel::enterEvent(event);
}

void CMediaSelectorPanel::SetWarnings(B32 on)
{
    mWarnings = on;
}

void CMediaSelectorPanel::UpdateConverterList()
{
    if (!mInitialised)
        return;
    const QString kept = mpConverterSelector->currentText();
    FillConverters();
    const int index = IndexAfterRefill(kept, mWarnings, "CMediaSelectorPanel");
    mpConverterSelector->setCurrentIndex(index);
    emit SetNotConverted();
    OnConverterControlChanged(index);
    emit CurrentFileTypeChanged(index);
}

void CMediaSelectorPanel::SetNbOfConverters(int* count)
{
    *count = mNbConverters;
}
