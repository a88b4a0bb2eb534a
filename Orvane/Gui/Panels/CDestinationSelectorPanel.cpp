#include "Gui/Panels/CDestinationSelectorPanel.h"
#include "Core/CBatchInfo.h"
#include "Core/CGenerationInfo.h"
#include "Core/CUserPrompt.h"
#include "Gui/Browsing/CDiskSelectorControl.h"
#include "Gui/Browsing/CFileSelectorControl.h"
#include "Gui/Browsing/FileLineControls.h"
#include "Gui/Preview/CPreviewPanel.h"
#include "Gui/Widgets/GuiResources.h"
#include "Gui/Window/CGuiServices.h"
#include "Host/CLocalFileDriver.h"
#include "Host/CLocalFileInfo.h"
#include "Parameters/CParameters.h"
#include <QCheckBox>
#include <QComboBox>
#include <QDateTime>
#include <QDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QPushButton>
#include <QTreeWidget>
#include <QTreeWidgetItem>
#include <QVBoxLayout>

namespace {

QString Text(const char* id)
{
    return GuiText("CDestinationSelectorPanel", id);
}

QFont SmallFont()
{
    return QFont(QStringLiteral("Helvetica"), 8);
}

template <typename Widget>
Widget* MakeControl(QWidget* parent, const char* objectName, const char* caption, const char* toolTip = nullptr)
{
    auto* widget = new Widget(Text(caption), parent);
    widget->setObjectName(QString::fromLatin1(objectName));
    widget->setFont(SmallFont());
    if (toolTip)
        widget->setToolTip(Text(toolTip));
    return widget;
}

} // namespace

CDestinationSelectorPanel::CDestinationSelectorPanel(QWidget* parent, const QString& name, int mode, int,
                                                     int diskSelectorLayout)
    : CSingleFileSelectorPanel(parent, name, diskSelectorLayout), mMode(mode)
{
    setTitle(Text("id_destination_panel"));
    mpDiskSelector->setToolTip(Text("id_tool_tip_folder_selection"));
    mpFileList->setToolTip(Text("id_tool_tip_file_selection"));
    if (mode != MEDIA)
        mpFileList->setSelectionMode(QAbstractItemView::NoSelection);

    QVBoxLayout* layout = PanelLayout();
    if (mode == MEDIA || mode == BATCH) {
        mpPreviewCheckBox = MakeControl<QCheckBox>(this, "PreviewCheckBox", "id_preview_caption");
        // In the batch tab only the Launch button has the small font.
        if (mode == BATCH)
            mpPreviewCheckBox->setFont(QFont());
        layout->addWidget(mpPreviewCheckBox);
    }
    if (mode == MEDIA) {
        mpRawDataCheckBox = MakeControl<QCheckBox>(this, "RawDataCheckBox", "id_raw_data_caption");
        layout->addWidget(mpRawDataCheckBox);
        // Ticked after a conversion, the box shows that result's bytes at once, not after the next one.
        CheckConnection(connect(mpRawDataCheckBox, &QCheckBox::toggled, this, [this](bool on) {
            if (on)
                ShowRawData();
        }));
        auto* buttons = new QHBoxLayout;
        mpConvertButton =
            MakeControl<QPushButton>(this, "ConvertPushButton", "id_convert_caption", "id_tool_tip_convert_button");
        mpSaveButton = MakeControl<QPushButton>(this, "SavePushButton", "id_save_caption", "id_tool_tip_save_button");
        // Nothing to convert or save until a source is loaded.
        mpConvertButton->setEnabled(false);
        mpSaveButton->setEnabled(false);
        buttons->addWidget(mpConvertButton);
        buttons->addWidget(mpSaveButton);
        layout->addLayout(buttons);
        CheckConnection(
            connect(mpConvertButton, &QPushButton::clicked, this, &CDestinationSelectorPanel::ConvertButtonClicked));
        CheckConnection(
            connect(mpSaveButton, &QPushButton::clicked, this, &CDestinationSelectorPanel::SaveButtonClicked));
    } else if (mode == SMS) {
        mpGenerateButton =
            MakeControl<QPushButton>(this, "GeneratePushButton", "id_generate_caption", "id_tool_tip_generate_button");
        // Nothing to translate until a source file is chosen.
        mpGenerateButton->setEnabled(false);
        layout->addWidget(mpGenerateButton);
        CheckConnection(
            connect(mpGenerateButton, &QPushButton::clicked, this, &CDestinationSelectorPanel::GenerateButtonClicked));
    } else {
        mpLaunchButton =
            MakeControl<QPushButton>(this, "LaunchPushButton", "id_launch_caption", "id_tool_tip_launch_button");
        layout->addWidget(mpLaunchButton);
        CheckConnection(
            connect(mpLaunchButton, &QPushButton::clicked, this, &CDestinationSelectorPanel::LaunchButtonClicked));
    }
    if (mode == MEDIA || mode == SMS) {
        mpDestFileIndicator = new CFileIndicatorControl(this, QStringLiteral("DestFileIndicator"));
        mpDestFileIndicator->setToolTip(Text("id_tool_tip_dest_file_indicator"));
        // The user may type the result's name from the start; in the SMS tab it names the messages' files.
        mpDestFileIndicator->setReadOnly(false);
        layout->addWidget(mpDestFileIndicator);
    }
    if (mode == MEDIA) {
        mpResultPreviewGroup = new QGroupBox(Text("id_preview_result_panel"), this);
        mpResultPreviewGroup->setObjectName(QStringLiteral("PreviewPanelGroupBox"));
        mpResultPreviewGroup->setMinimumSize(1, 1);
        mpResultPreview = new CPreviewPanel(mpResultPreviewGroup, QStringLiteral("ResultPreviewPanel"));
        mpResultPreview->setToolTip(Text("id_tool_tip_result_preview"));
        mpResultPreview->setMinimumSize(1, 1);
        (new QVBoxLayout(mpResultPreviewGroup))->addWidget(mpResultPreview);
        layout->addWidget(mpResultPreviewGroup, 1);

        // The raw-data window is a window of its own over the main window, and must not keep the program alive.
        mpRawDataWindow = new QDialog(this, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint
                                                | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
        mpRawDataWindow->setAttribute(Qt::WA_QuitOnClose, false);
        mpRawDataWindow->setWindowTitle(Text("id_titlewindow"));
        const QPixmap logo = GuiPicture("CDestinationSelectorPanel", "id_brimsel_logo_icon");
        if (!logo.isNull()) {
            mpLogo = new QPixmap(logo);
            mpRawDataWindow->setWindowIcon(*mpLogo);
        }
        auto* grid = new QGridLayout(mpRawDataWindow);
        grid->setContentsMargins(0, 0, 0, 0);
        mpRawDataPreview = new CPreviewPanel(mpRawDataWindow, QStringLiteral("RawDataPreviewPanel"));
        mpRawDataPreview->setMinimumSize(1, 1);
        grid->addWidget(mpRawDataPreview, 0, 0);
        // Wide enough for a full row of the dump: address, sixteen bytes in hexadecimal and their characters.
        const QFontMetrics dump(mpRawDataPreview->GetHexList()->font());
        mpRawDataWindow->resize(dump.horizontalAdvance(QString(8 + 50 + 16, QLatin1Char('W'))) + 80, 320);
    }

    CheckConnection(connect(this, qOverload<const CFileInfo*>(&CSingleFileSelectorPanel::Clicked), this,
                            &CDestinationSelectorPanel::UpdatePanel));
    CheckConnection(
        connect(this, &CDestinationSelectorPanel::PathChanged, mpDiskSelector, &CDiskSelectorControl::UpdateComboList));
    CheckConnection(connect(mpDiskSelector->GetCombo(), qOverload<int>(&QComboBox::activated), this,
                            &CDestinationSelectorPanel::DiskChanged));
    CheckConnection(
        connect(mpDiskSelector, &CDiskSelectorControl::ItemChanged, this, &CDestinationSelectorPanel::DiskChanged));
}

CDestinationSelectorPanel::~CDestinationSelectorPanel()
{
    delete mpRawDataWindow;
    delete mpLogo;
}

void CDestinationSelectorPanel::LoadPanel(CDatabase&) {}

void CDestinationSelectorPanel::SetCurrentFile(QString& name)
{
    mCurrentFile = name;
}

void CDestinationSelectorPanel::SetFileList(const QStringList*) {}

void CDestinationSelectorPanel::BuildFilePattern()
{
    mFilePattern = QString();
    int count = 0;
    emit GetNbOfConverters(&count);
    for (int i = 0; i < count; ++i) {
        QString extension;
        emit GetExportExtensionForConverter(extension, i);
        mFilePattern += QStringLiteral("*.") + extension + QLatin1Char(';');
    }
}

void CDestinationSelectorPanel::RefillFileList()
{
    BuildFilePattern();
    Clear();
    CLocalFileDriver& driver = mpDiskSelector->GetDriver();
    AddFiles(driver.GetEntryList(QString(), CFileDriver::DIRS, CFileDriver::UNSORTED | CFileDriver::SORT_DIRS_FIRST));
    AddFiles(
        driver.GetEntryList(mFilePattern, CFileDriver::FILES, CFileDriver::UNSORTED | CFileDriver::SORT_DIRS_FIRST));
}

void CDestinationSelectorPanel::ListDestination()
{
    if (mpDiskSelector->GetDriver().SetCurrentDir(mDestinationFolder)) {
        mpFileList->SetEmptyText(QString());
        RefillFileList();
        return;
    }
    // A folder removed or replaced by a file: the list says so, rather than show the files of whatever folder
    // the program is in while the folder box names the one that is gone.
    Clear();
    mpFileList->SetEmptyText(Text("id_folder_gone").arg(mDestinationFolder));
}

void CDestinationSelectorPanel::DiskChanged(int index)
{
    CLocalFileDriver& driver = mpDiskSelector->GetDriver();
    const QString kept = driver.GetCurrentDir();
    mDestinationFolder = mpDiskSelector->GetCombo()->itemText(index);
    ListDestination();
    driver.SetCurrentDir(kept);
}

void CDestinationSelectorPanel::UpdatePanel(const CFileInfo* info)
{
    CLocalFileDriver& driver = mpDiskSelector->GetDriver();
    if (!mInitialised) {
        mInitialised = 1;
        if (mDestinationFolder.isEmpty())
            emit GetCurrentPath(mDestinationFolder);
        qDebug("%s", qPrintable(mDestinationFolder));
        const QString kept = driver.GetCurrentDir();
        mpDiskSelector->SetCurrentFolder(&mDestinationFolder);
        emit PathChanged(mDestinationFolder);
        ListDestination();
        driver.SetCurrentDir(kept);
        return;
    }
    if (!info)
        return;
    if (info->IsDir()) {
        mDestinationFolder = info->GetFilePath();
        emit PathChanged(mDestinationFolder);
        ListDestination();
        return;
    }
    if (mMode == MEDIA)
        PreviewResultFile(*info);
}

bool CDestinationSelectorPanel::FindPreviewFiles(const CFileInfo& result, CDocument::DOCTYPE& type, QStringList& files,
                                                 bool& upToDate)
{
    const QString name = result.GetFileName();
    const int dot = int(name.lastIndexOf(QLatin1Char('.')));
    const QString base = result.GetDirPath() + QLatin1Char('/') + (dot < 0 ? name : name.left(dot));
    const QString extension = dot < 0 ? QString() : name.mid(dot + 1).toLower();
    int count = 0;
    emit GetNbOfConverters(&count);
    int converter = -1;
    for (int i = 0; i < count && converter < 0; ++i) {
        QString exported;
        emit GetExportExtensionForConverter(exported, i);
        if (!extension.isEmpty() && exported.toLower() == extension)
            converter = i;
    }
    if (converter < 0)
        return false;
    emit GetPreviewFileList(type, files, base, converter);
    if (files.isEmpty())
        return false;
    const bool frames = extension == QStringLiteral("ani") || extension == QStringLiteral("ema");
    if (!frames && files.size() != 1)
        return false;
    const QDateTime resultTime = result.GetLastModified();
    upToDate = true;
    for (const QString& file : std::as_const(files)) {
        if (!mpDiskSelector->GetDriver().Exists(file))
            return false;
        const qint64 seconds = qAbs(CLocalFileInfo(file).GetLastModified().secsTo(resultTime));
        if (seconds >= 10)
            upToDate = false;
    }
    return true;
}

void CDestinationSelectorPanel::ClearPreview()
{
    emit PreviewFileSelected();
    QStringList none;
    UpdatePreview(none, CDocument::DOCTYPE(1));
}

void CDestinationSelectorPanel::PreviewResultFile(const CFileInfo& result)
{
    CUserPrompt& prompt = CGuiServices::Prompt();
    // Showing a result file lets the loaded media go: with warnings on, an unsaved result is given up only on
    // the user's word.
    if (mWarnings && mConverted && !mSaved) {
        const int answer = prompt.Ask(Text("id_warning_title"), Text("id_warning_text"),
                                      {Text("id_yes_caption"), Text("id_no_caption")}, 1, 1);
        if (answer != 0) {
            SelectNone();
            return;
        }
    }
    CDocument::DOCTYPE type = CDocument::DOCTYPE(1);
    QStringList files;
    bool upToDate = false;
    if (!FindPreviewFiles(result, type, files, upToDate)) {
        prompt.ShowMessage(CUserPrompt::WARNING, Text("id_warning_preview_title"), Text("id_warning_no_preview_text"));
        ClearPreview();
        return;
    }
    // With warnings off an older or newer preview is shown as it is.
    if (!upToDate && mWarnings) {
        const int answer = prompt.Ask(Text("id_warning_preview_title"), Text("id_warning_preview_text"),
                                      {Text("id_yes_caption"), Text("id_no_caption")}, 1, 1);
        if (answer == 1) {
            SelectNone();
            ClearPreview();
            return;
        }
    }
    mPreviewSelection = 1;
    emit PreviewFileSelected();
    if (QTreeWidgetItem* item = mpFileList->currentItem()) {
        QString name = item->text(0);
        mpDestFileIndicator->SetSelectedFileName(name);
        mpDestFileIndicator->setReadOnly(true);
    }
    UpdatePreview(files, type);
    mPreviewSelection = 0;
}

void CDestinationSelectorPanel::ConvertButtonClicked()
{
    // The menu reaches this slot too: it acts only when the button would.
    if (mMode != MEDIA || !mpConvertButton->isEnabled())
        return;
    int index = 0;
    CParameters* parameters = nullptr;
    QString origin;
    emit GetConverterIndex(&index);
    emit GetConverterParameters(&parameters);
    emit GetOriginalPath(origin);
    if (mCurrentFile.isNull() || mDestinationFolder.isNull() || !parameters || origin.isNull())
        return;
    const QString source = origin + QLatin1Char('/') + mCurrentFile;
    mpResultPreview->LoadMedia(nullptr);
    mpRawDataPreview->LoadMedia(nullptr);
    {
        CGenerationInfo record(source, index, parameters, mDestinationFolder);
        emit ConvertionAsked(mpRawDataCheckBox->isChecked() ? 1 : 0, &record);
    }
    if (!mConverted)
        return;
    CDocument* document = nullptr;
    emit GetPreviewDocument(&document);
    if (document)
        mpResultPreview->LoadMedia(document);
    if (mpRawDataCheckBox->isChecked())
        ShowRawData();
    mpSaveButton->setEnabled(true);
}

void CDestinationSelectorPanel::ShowRawData()
{
    if (!mConverted)
        return;
    CDocument* raw = nullptr;
    emit GetPreviewRawData(&raw);
    if (raw) {
        mpRawDataPreview->LoadMedia(raw);
        mpRawDataWindow->show();
    }
}

void CDestinationSelectorPanel::SaveButtonClicked()
{
    if (mMode != MEDIA || !mpSaveButton->isEnabled())
        return;
    // Only a result that was written counts as saved: a refused overwrite or a failed write keeps the
    // quit question.
    B32 saved = 0;
    emit SaveAsked(mpPreviewCheckBox->isChecked() ? 1 : 0, mDestinationFolder, mpDestFileIndicator->text(), saved);
    mSaved = saved ? 1 : 0;
    DiskChanged(mpDiskSelector->GetCombo()->currentIndex());
    // Only a result that is on disk is offered to the SMS tab.
    if (!saved)
        return;
    QString name;
    emit GetResultFileName(name);
    if (QFileInfo(name).isFile())
        emit ResultFileSaved(name);
}

void CDestinationSelectorPanel::SaveAs()
{
    QString extension;
    int index = 0;
    if (mMode == MEDIA) {
        if (!mpSaveButton->isEnabled())
            return;
        emit GetConverterIndex(&index);
        emit GetExportExtensionForConverter(extension, index);
    } else if (mMode == SMS) {
        if (!mpGenerateButton->isEnabled())
            return;
        emit GetTranslatorIndex(&index);
        emit GetExportExtensionForTranslator(extension, index);
    }
    if (extension.isEmpty())
        return;
    const QString filter =
        QStringLiteral("(*.") + extension.toUpper() + QStringLiteral(" *.") + extension.toLower() + QLatin1Char(')');
    const QString path = CGuiServices::Prompt().ChooseSaveFile(this, mDestinationFolder, filter);
    if (path.isEmpty())
        return;
    const QFileInfo chosen(path);
    QString name = chosen.fileName();
    if (!name.contains(extension, Qt::CaseInsensitive))
        name += QLatin1Char('.') + extension;
    mpDestFileIndicator->SetSelectedFileName(name);
    mDestinationFolder = chosen.absolutePath();
    QComboBox* combo = mpDiskSelector->GetCombo();
    combo->setItemText(combo->currentIndex(), mDestinationFolder);
    B32 saved = 0;
    if (mMode == MEDIA) {
        emit SaveAsked(mpPreviewCheckBox->isChecked() ? 1 : 0, mDestinationFolder, name, saved);
    } else {
        GenerateButtonClicked();
        saved = 1;
    }
    DiskChanged(combo->currentIndex());
    mSaved = saved ? 1 : 0;
}

void CDestinationSelectorPanel::GenerateButtonClicked()
{
    if (mMode != SMS || !mpGenerateButton->isEnabled())
        return;
    int index = 0;
    CParameters* parameters = nullptr;
    QString origin = QStringLiteral("");
    emit GetTranslatorIndex(&index);
    emit GetTranslatorParameters(&parameters);
    emit GetOriginalPath(origin);
    if (mCurrentFile.isNull() || mDestinationFolder.isNull() || origin.isNull())
        return;
    {
        CGenerationInfo record(origin + QLatin1Char('/') + mCurrentFile, index, parameters, mDestinationFolder);
        emit TranslationAsked(&record, mDestinationFolder + QLatin1Char('/') + mpDestFileIndicator->text());
    }
    DiskChanged(mpDiskSelector->GetCombo()->currentIndex());
}

bool CDestinationSelectorPanel::HasExtension(const QString& path, const QString& extension)
{
    // The file name, not the path, with at least one character before the dot.
    const QString name = QFileInfo(path).fileName();
    const QString ending = QLatin1Char('.') + extension;
    return name.size() > ending.size() && name.endsWith(ending, Qt::CaseInsensitive);
}

void CDestinationSelectorPanel::LaunchButtonClicked()
{
    if (mMode != BATCH)
        return;
    QStringList sources;
    QStringList parameterFiles;
    QString origin = QStringLiteral("");
    emit GetSourceFileNameList(sources);
    emit GetParamsFileNameList(parameterFiles);
    emit GetOriginalPath(origin);
    if (mDestinationFolder.isNull() || sources.isEmpty() || parameterFiles.isEmpty() || origin.isNull())
        return;
    CBatchInfoList batch;
    for (int row = 0; row < parameterFiles.size(); ++row) {
        QStringList extensions;
        emit GetExtensionListForBatch(row, extensions);
        if (extensions.isEmpty())
            continue;
        B32 checked = 0;
        emit IsChecked(&checked, row);
        if (!checked)
            continue;
        QStringList matched;
        for (const QString& extension : std::as_const(extensions))
            for (const QString& source : std::as_const(sources))
                if (HasExtension(source, extension))
                    matched.append(source);
        if (!matched.isEmpty())
            batch.append(new CBatchInfo(matched, row, parameterFiles.at(row), mDestinationFolder));
    }
    B32 result = 0;
    emit LaunchAsked(&batch, mpPreviewCheckBox->isChecked() ? 1 : 0, result);
    DiskChanged(mpDiskSelector->GetCombo()->currentIndex());
}

void CDestinationSelectorPanel::show()
{
    UpdatePanel(nullptr);
    QWidget::show();
}

void CDestinationSelectorPanel::OnConverterControlChanged()
{
    if (mpResultPreview)
        mpResultPreview->LoadMedia(nullptr);
    if (mpRawDataPreview)
        mpRawDataPreview->LoadMedia(nullptr);
    // Without a source the name shown belonged to the result previewed, or to no converter: it goes with the
    // preview. A source's name follows through IndicateDestFile.
    if (mMode == MEDIA && mCurrentFile.isEmpty()) {
        mpDestFileIndicator->clear();
        mpDestFileIndicator->setReadOnly(false);
    }
}

QString CDestinationSelectorPanel::ProposedBaseName(const QString& source)
{
    const QString fileName = QFileInfo(source).fileName();
    const int first = int(fileName.indexOf(QLatin1Char('.')));
    // A name that starts with a dot has no base before it: the name up to its last dot stands in.
    if (first == 0)
        return fileName.left(int(fileName.lastIndexOf(QLatin1Char('.')))) + QLatin1Char('.');
    return (first < 0 ? fileName : fileName.left(first)) + QLatin1Char('.');
}

void CDestinationSelectorPanel::IndicateDestFile(QString& source, int index)
{
    if (mMode == BATCH)
        return;
    QString extension;
    if (source.isEmpty()) {
        mpDestFileIndicator->clear();
        if (mMode == MEDIA) {
            if (!mPreviewSelection)
                SelectNone();
            mpResultPreview->LoadMedia(nullptr);
            mpSaveButton->setEnabled(false);
            mpConvertButton->setEnabled(false);
            mpDestFileIndicator->setReadOnly(false);
        } else {
            mpGenerateButton->setEnabled(false);
        }
        return;
    }
    if (mMode == MEDIA) {
        SelectNone();
        emit GetExportExtensionForConverter(extension, index);
        mpSaveButton->setEnabled(false);
        mpConvertButton->setEnabled(true);
        mpDestFileIndicator->setReadOnly(false);
    } else {
        emit GetExportExtensionForTranslator(extension, index);
        mpGenerateButton->setEnabled(true);
    }
    if (!extension.isNull()) {
        QString name = ProposedBaseName(source) + extension;
        mpDestFileIndicator->SetSelectedFileName(name);
    }
}

void CDestinationSelectorPanel::SetNotConverted()
{
    mConverted = 0;
    if (mpSaveButton)
        mpSaveButton->setEnabled(false);
}

void CDestinationSelectorPanel::SetConverted()
{
    mConverted = 1;
    // A new result is on no disk yet, whatever was saved before it.
    mSaved = 0;
}

void CDestinationSelectorPanel::SetNotSaved()
{
    mSaved = 0;
}

void CDestinationSelectorPanel::IsConverted(B32* converted)
{
    *converted = mConverted;
}

void CDestinationSelectorPanel::IsSaved(B32* saved)
{
    *saved = mSaved;
}

void CDestinationSelectorPanel::UpdatePreview(QStringList& files, CDocument::DOCTYPE type)
{
    if (mpResultPreview)
        mpResultPreview->LoadMedia(nullptr);
    if (mpRawDataPreview)
        mpRawDataPreview->LoadMedia(nullptr);
    B32 ok = 0;
    emit LoadPreviewAsked(files, type, ok);
    if (ok) {
        CDocument* document = nullptr;
        emit GetPreviewDocument(&document);
        if (document && mpResultPreview)
            mpResultPreview->LoadMedia(document);
        return;
    }
    if (type != CDocument::DOCTYPE(1)) {
        CGuiServices::Prompt().ShowMessage(CUserPrompt::WARNING, Text("id_warning_preview_title"),
                                           Text("id_warning_preview_no_match_text"));
        emit PreviewFileSelected();
    }
}

void CDestinationSelectorPanel::enterEvent(QEnterEvent* event)
{
    // A folder that was gone is looked for again.
    const bool gone = !mpFileList->GetEmptyText().isEmpty();
    if (mInitialised && (gone || IsFolderChanged(mFilePattern)))
        DiskChanged(mpDiskSelector->GetCombo()->currentIndex());
    CSingleFileSelectorPanel::enterEvent(event);
}

void CDestinationSelectorPanel::SetWarnings(B32 on)
{
    mWarnings = on;
}

void CDestinationSelectorPanel::NewProfileSelected()
{
    if (mInitialised)
        DiskChanged(mpDiskSelector->GetCombo()->currentIndex());
}
