#include "CDestinationSelectorPanel.h"
#include "Core/CBatchInfo.h"
#include "Core/CGenerationInfo.h"
#include "Parameters/CParameters.h"
#include "CDiskSelectorControl.h"
#include "CFileSelectorControl.h"
#include "CPreviewPanel.h"
#include "FileLineControls.h"
#include "GuiResources.h"
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QPushButton>
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
        layout->addWidget(mpPreviewCheckBox);
    }
    if (mode == MEDIA) {
        mpRawDataCheckBox = MakeControl<QCheckBox>(this, "RawDataCheckBox", "id_raw_data_caption");
        layout->addWidget(mpRawDataCheckBox);
        auto* buttons = new QHBoxLayout;
        mpConvertButton = MakeControl<QPushButton>(this, "ConvertPushButton", "id_convert_caption",
                                                   "id_tool_tip_convert_button");
        mpSaveButton = MakeControl<QPushButton>(this, "SavePushButton", "id_save_caption", "id_tool_tip_save_button");
        mpSaveButton->setEnabled(false);
        buttons->addWidget(mpConvertButton);
        buttons->addWidget(mpSaveButton);
        layout->addLayout(buttons);
        CheckConnection(connect(mpConvertButton, &QPushButton::clicked, this,
                                &CDestinationSelectorPanel::ConvertButtonClicked));
        CheckConnection(connect(mpSaveButton, &QPushButton::clicked, this,
                                &CDestinationSelectorPanel::SaveButtonClicked));
    } else if (mode == SMS) {
        mpGenerateButton = MakeControl<QPushButton>(this, "GeneratePushButton", "id_generate_caption",
                                                    "id_tool_tip_generate_button");
        layout->addWidget(mpGenerateButton);
        CheckConnection(connect(mpGenerateButton, &QPushButton::clicked, this,
                                &CDestinationSelectorPanel::GenerateButtonClicked));
    } else {
        mpLaunchButton = MakeControl<QPushButton>(this, "LaunchPushButton", "id_launch_caption",
                                                  "id_tool_tip_launch_button");
        layout->addWidget(mpLaunchButton);
        CheckConnection(connect(mpLaunchButton, &QPushButton::clicked, this,
                                &CDestinationSelectorPanel::LaunchButtonClicked));
    }
    if (mode == MEDIA || mode == SMS) {
        mpDestFileIndicator = new CFileIndicatorControl(this, QStringLiteral("DestFileIndicator"));
        mpDestFileIndicator->setToolTip(Text("id_tool_tip_dest_file_indicator"));
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

        // The raw-data window is a window of its own that must not keep the program alive.
        mpRawDataWindow = new QDialog(nullptr, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint
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
    }

    CheckConnection(connect(this, qOverload<const CFileInfo*>(&CSingleFileSelectorPanel::Clicked), this,
                            &CDestinationSelectorPanel::UpdatePanel));
    CheckConnection(connect(this, &CDestinationSelectorPanel::PathChanged, mpDiskSelector,
                            &CDiskSelectorControl::UpdateComboList));
    CheckConnection(connect(mpDiskSelector->GetCombo(), qOverload<int>(&QComboBox::activated), this,
                            &CDestinationSelectorPanel::DiskChanged));
    CheckConnection(connect(mpDiskSelector, &CDiskSelectorControl::ItemChanged, this,
                            &CDestinationSelectorPanel::DiskChanged));
}

CDestinationSelectorPanel::~CDestinationSelectorPanel()
{
    delete mpRawDataWindow;
    delete mpLogo;
}

void CDestinationSelectorPanel::LoadPanel(CDatabase&)
{
}

void CDestinationSelectorPanel::SetCurrentFile(QString& name)
{
    mCurrentFile = name;
}

void CDestinationSelectorPanel::SetFileList(const QStringList*)
{
}

void CDestinationSelectorPanel::DiskChanged(int)
{
}

void CDestinationSelectorPanel::UpdatePanel(const CFileInfo*)
{
    mInitialised = 1;
}

void CDestinationSelectorPanel::ConvertButtonClicked()
{
}

void CDestinationSelectorPanel::SaveButtonClicked()
{
}

void CDestinationSelectorPanel::SaveAs()
{
}

void CDestinationSelectorPanel::GenerateButtonClicked()
{
}

void CDestinationSelectorPanel::LaunchButtonClicked()
{
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
}

void CDestinationSelectorPanel::IndicateDestFile(QString&, int)
{
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

void CDestinationSelectorPanel::UpdatePreview(QStringList&, CDocument::DOCTYPE)
{
}

void CDestinationSelectorPanel::NewProfileSelected()
{
    if (mInitialised)
        DiskChanged(mpDiskSelector->GetCombo()->currentIndex());
}
