#include "Gui/Panels/CSmsSelectorPanel.h"
#include "Core/CUserPrompt.h"
#include "Gui/Browsing/CDiskSelectorControl.h"
#include "Gui/Browsing/CFileSelectorControl.h"
#include "Gui/Browsing/FileLineControls.h"
#include "Gui/Panels/CSmsBuilderPanel.h"
#include "Gui/Widgets/GuiResources.h"
#include "Gui/Window/CGuiServices.h"
#include "Host/CLocalFileDriver.h"
#include "Host/CLocalFileInfo.h"
#include <QComboBox>
#include <QDebug>

namespace {
QString Text(const char* id)
{
    return GuiText("CSmsSelectorPanel", id);
}
} // namespace

CSmsSelectorPanel::CSmsSelectorPanel(QWidget* parent, const QString& name, int diskSelectorLayout)
    : CSelectorPanel(parent, name, diskSelectorLayout)
{
    setTitle(Text("id_source_sms_panel"));
    mpDiskSelector->setToolTip(Text("id_tool_tip_folder_selection"));
    mpFileList->setToolTip(Text("id_tool_tip_file_selection"));
    mpFileIndicator->setToolTip(Text("id_tool_tip_selected_file_edit"));
    mpConverterSelector->setToolTip(Text("id_tool_tip_traductor_selection"));
    mpDiskSelector->SetCurrentFolder(&mCurrentFolder);
    CheckConnection(connect(this, qOverload<const CFileInfo*>(&CSingleFileSelectorPanel::Clicked), this,
                            &CSmsSelectorPanel::UpdatePanel));
    CheckConnection(
        connect(this, &CSmsSelectorPanel::PathChanged, mpDiskSelector, &CDiskSelectorControl::UpdateComboList));
    CheckConnection(connect(mpDiskSelector->GetCombo(), qOverload<int>(&QComboBox::activated), this,
                            &CSmsSelectorPanel::DiskChanged));
    CheckConnection(connect(mpDiskSelector, &CDiskSelectorControl::ItemChanged, this, &CSmsSelectorPanel::DiskChanged));
    CheckConnection(
        connect(mpConverterSelector, qOverload<int>(&QComboBox::activated), this, &CSmsSelectorPanel::UpdateFileView));
    CheckConnection(connect(mpConverterSelector, qOverload<int>(&QComboBox::activated), this,
                            &CSmsSelectorPanel::OnConverterControlChanged));
    CheckConnection(connect(mpConverterSelector, qOverload<int>(&QComboBox::activated), this,
                            &CSmsSelectorPanel::CurrentFileTypeChanged));
}

void CSmsSelectorPanel::SetFileList(const QStringList*) {}

void CSmsSelectorPanel::LoadPanel(CDatabase&) {}

void CSmsSelectorPanel::SetCurrentFile(QString& name)
{
    mCurrentFile = name;
}

QString CSmsSelectorPanel::BuildImportFilter()
{
    mExtensions.clear();
    emit GetTraductorImportExtensionList(mExtensions, mpConverterSelector->currentIndex());
    return ImportPattern(mExtensions);
}

QString CSmsSelectorPanel::BuildDialogFilter()
{
    BuildImportFilter();
    return DialogPattern(mExtensions);
}

void CSmsSelectorPanel::AnnounceNoFile()
{
    mCurrentFile = QString();
    mpFileIndicator->SetSelectedFileName(mCurrentFile);
    const int translator = mpConverterSelector->currentIndex();
    emit CurrentFileChanged(mCurrentFile);
    emit IndicateDestFile(mCurrentFile, translator);
    emit CurrentFileTypeChanged(translator);
}

void CSmsSelectorPanel::EnterFolder(const QString& folder)
{
    mCurrentFolder = folder;
    mpDiskSelector->GetDriver().SetCurrentDir(mCurrentFolder);
    emit PathChanged(mCurrentFolder);
    RefreshFileList(BuildImportFilter());
    AnnounceNoFile();
}

void CSmsSelectorPanel::DiskChanged(int index)
{
    EnterFolder(mpDiskSelector->GetCombo()->itemText(index));
}

void CSmsSelectorPanel::UpdateFileView(int)
{
    const QString filter = BuildImportFilter();
    if (!filter.isEmpty())
        qDebug() << filter;
    RefreshFileList(filter);
}

void CSmsSelectorPanel::FillTranslators(const QString& keep)
{
    QStringList names;
    emit GetTraductorNameList(names);
    // Filling always starts from an empty combo: appending a second time would offer indexes the application
    // does not have.
    mpConverterSelector->clear();
    mpConverterSelector->addItems(names);
    const int index = keep.isEmpty() ? -1 : int(names.indexOf(keep));
    mpConverterSelector->setCurrentIndex(index >= 0 ? index : 0);
}

void CSmsSelectorPanel::UpdatePanel(const CFileInfo* info)
{
    if (!mInitialised) {
        mInitialised = true;
        // A result saved before the first show has chosen its translator already: it stays chosen.
        FillTranslators(mpConverterSelector->currentText());
        const QString filter = BuildImportFilter();
        if (mCurrentFolder.isEmpty())
            emit GetCurrentPath(mCurrentFolder);
        mpDiskSelector->SetCurrentFolder(&mCurrentFolder);
        mpDiskSelector->GetDriver().SetCurrentDir(mCurrentFolder);
        emit PathChanged(mCurrentFolder);
        RefreshFileList(filter);
        if (mpBuilderPanel) {
            CheckConnection(connect(mpBuilderPanel, &CSmsBuilderPanel::ParameterFileTypeChanged, this,
                                    &CSmsSelectorPanel::CurrentFileTypeChanged));
            CheckConnection(connect(mpBuilderPanel, &CSmsBuilderPanel::ParameterFileTypeChanged, this,
                                    &CSmsSelectorPanel::UpdateFileView));
        }
        return;
    }
    if (!info)
        return;
    if (info->IsDir()) {
        EnterFolder(info->GetFilePath());
        return;
    }
    mCurrentFile = info->GetFileName();
    if (!mCurrentFile.isEmpty())
        mpFileIndicator->SetSelectedFileName(mCurrentFile);
    const int translator = mpConverterSelector->currentIndex();
    emit CurrentFileChanged(mCurrentFile);
    emit IndicateDestFile(mCurrentFile, translator);
    emit CurrentFileTypeChanged(translator);
}

void CSmsSelectorPanel::SetOriginalPath(QString& folder)
{
    folder = mCurrentFolder;
}

void CSmsSelectorPanel::OpenSmsDialog()
{
    const QString name = CGuiServices::Prompt().ChooseOpenFile(this, QString(), BuildDialogFilter());
    if (name.isEmpty())
        return;
    const CLocalFileInfo file(name);
    mCurrentFolder = file.GetDirPath();
    mpDiskSelector->GetDriver().SetCurrentDir(mCurrentFolder);
    emit PathChanged(mCurrentFolder);
    UpdatePanel(&file);
    UpdateFileView(mpConverterSelector->currentIndex());
}

void CSmsSelectorPanel::show()
{
    UpdatePanel(nullptr);
    QWidget::show();
}

void CSmsSelectorPanel::MediaConversionSaved(QString& path)
{
    const CLocalFileInfo saved(path);
    const QString fileName = saved.GetFileName();
    const int dot = int(fileName.lastIndexOf(QLatin1Char('.')));
    const QString extension = dot < 0 ? QString() : fileName.mid(dot + 1);
    if (extension.isEmpty())
        return;
    if (!mInitialised)
        FillTranslators(mpConverterSelector->currentText());
    for (int i = 0; i < mpConverterSelector->count(); ++i) {
        QStringList extensions;
        emit GetTraductorImportExtensionList(extensions, i);
        const bool takes = std::any_of(extensions.begin(), extensions.end(), [&](const QString& entry) {
            return entry.contains(extension, Qt::CaseInsensitive);
        });
        if (takes) {
            mpConverterSelector->setCurrentIndex(i);
            break;
        }
    }
    // Without a taker the kept translator's extensions list the folder.
    const QString filter = BuildImportFilter();
    mCurrentFolder = saved.GetDirPath();
    mpDiskSelector->SetCurrentFolder(&mCurrentFolder);
    emit PathChanged(mCurrentFolder);
    // The saved file's own name: cutting it at its first dot would name a file that does not exist.
    mCurrentFile = fileName;
    mpFileIndicator->SetSelectedFileName(mCurrentFile);
    CLocalFileDriver& driver = mpDiskSelector->GetDriver();
    const QString kept = driver.GetCurrentDir();
    driver.SetCurrentDir(mCurrentFolder);
    ListEntries(driver, filter);
    driver.SetCurrentDir(kept);
    const int translator = mpConverterSelector->currentIndex();
    emit CurrentFileChanged(mCurrentFile);
    emit CurrentFileTypeChanged(translator);
    emit IndicateDestFile(mCurrentFile, translator);
}

void CSmsSelectorPanel::GetTranslatorIndex(int* index)
{
    *index = mpConverterSelector->currentIndex();
}

void CSmsSelectorPanel::OnConverterControlChanged(int)
{
    QString empty;
    SetCurrentFile(empty);
    // No file is chosen now: none stays highlighted either.
    SelectNone();
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
    if (!mInitialised)
        return;
    const QString kept = mpConverterSelector->currentText();
    FillTranslators(kept);
    const int index = IndexAfterRefill(kept, mWarnings, "CSmsSelectorPanel");
    mpConverterSelector->setCurrentIndex(index);
    OnConverterControlChanged(index);
    emit CurrentFileTypeChanged(index);
}

void CSmsSelectorPanel::enterEvent(QEnterEvent* event)
{
    const QString filter = BuildImportFilter();
    if (mInitialised && IsFolderChanged(filter) && !RelistKeepingSelection(filter)) {
        const int translator = mpConverterSelector->currentIndex();
        OnConverterControlChanged(translator);
        emit CurrentFileTypeChanged(translator);
    }
    CSelectorPanel::enterEvent(event);
}
