#include "Gui/Window/OrvaneMainWindow.h"
#include "Core/CUserPrompt.h"
#include "Gui/Panels/CDestinationSelectorPanel.h"
#include "Gui/Panels/CMediaSelectorPanel.h"
#include "Gui/Panels/CParamsSelectorPanel.h"
#include "Gui/Panels/CSmsSelectorPanel.h"
#include "Gui/Widgets/GuiResources.h"
#include "Gui/Window/CGuiServices.h"
#include "Gui/Window/CHelpWnd.h"
#include "Gui/Window/COrvTabview.h"
#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QCloseEvent>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QProgressBar>
#include <QStatusBar>
#include <QToolBar>
#include <QToolButton>

namespace {

QString Text(const char* id)
{
    return GuiText("OrvaneMainWindow", id);
}

} // namespace

OrvaneMainWindow::OrvaneMainWindow(QWidget* parent, Qt::WindowFlags flags) : QMainWindow(parent, flags)
{
    // Every box and dialog opens over this window, also one that a panel shows while it is built.
    CGuiServices::SetMainWindow(this);
    const QPixmap icon = GuiPicture("OrvaneMainWindow", "id_brimsel_logo_icon");
    mpIcon = new QPixmap(icon);
    if (!icon.isNull())
        setWindowIcon(icon);
    setWindowTitle(Text("id_titlewindow"));

    BuildMenus();
    BuildToolBar();

    // The phone's name is a permanent widget: menu tips and progress texts replace only the message. The
    // message is drawn in the room left of the permanent widgets, so the name takes no more than it needs.
    mpProfileLabel = new QLabel(statusBar());
    mpProfileLabel->setObjectName(QStringLiteral("ProfileLabel"));
    statusBar()->addPermanentWidget(mpProfileLabel, 0);
    mpProgressBar = new QProgressBar(statusBar());
    mpProgressBar->setMaximumWidth(200);
    statusBar()->addPermanentWidget(mpProgressBar, 0);

    mpTabview = new COrvTabview(this, QStringLiteral("COrvTabview"));
    ConnectPanels();
    setCentralWidget(mpTabview);
    resize(800, 600);
}

OrvaneMainWindow::~OrvaneMainWindow()
{
    if (CGuiServices::MainWindow() == this)
        CGuiServices::SetMainWindow(nullptr);
    delete mpIcon;
    delete mpHelpWindow;
}

void OrvaneMainWindow::BuildMenus()
{
    QMenuBar* bar = menuBar();
    QMenu* file = bar->addMenu(Text("id_file_menu"));
    mpSettingsMenu = file->addMenu(Text("id_setting_item"));
    mpWarningItem = mpSettingsMenu->addAction(Text("id_enable_warning"));
    mpResizeItem = mpSettingsMenu->addAction(Text("id_enable_resize"));
    for (QAction* item : {mpWarningItem, mpResizeItem}) {
        item->setCheckable(true);
        item->setChecked(true);
    }
    // A click toggles the item itself; SettingDialog and SettingResize toggle it through the same path.
    connect(mpWarningItem, &QAction::triggered, this, [this](bool on) { emit Warnings(on ? 1 : 0); });
    connect(mpResizeItem, &QAction::triggered, this, [this](bool on) { emit ResizeSystematic(on ? 1 : 0); });
    file->addAction(Text("id_plugin_item"), QKeySequence(Qt::CTRL | Qt::Key_P), this,
                    &OrvaneMainWindow::PluginInfoDialog);
    file->addAction(Text("id_quit_item"), QKeySequence(Qt::CTRL | Qt::Key_Q), this,
                    &OrvaneMainWindow::CheckSavingBeforeQuit);

    QMenu* media = bar->addMenu(Text("id_media_menu"));
    media->addAction(Text("id_open_item"), QKeySequence(Qt::CTRL | Qt::Key_O), this,
                     &OrvaneMainWindow::OpenMediaDialog);
    media->addAction(Text("id_close_item"), QKeySequence(Qt::CTRL | Qt::Key_C), this,
                     &OrvaneMainWindow::CheckSavingBeforeClose);
    media->addAction(Text("id_convert_item"), QKeySequence(Qt::CTRL | Qt::Key_V), this,
                     &OrvaneMainWindow::ConvertMediaDialog);
    media->addAction(Text("id_save_item"), QKeySequence(Qt::CTRL | Qt::Key_Z), this,
                     &OrvaneMainWindow::SaveMediaDialog);
    media->addAction(Text("id_save_as_item"), QKeySequence(Qt::CTRL | Qt::Key_A), this,
                     &OrvaneMainWindow::SaveAsDialog);

    QMenu* sms = bar->addMenu(Text("id_sms_menu"));
    sms->addAction(Text("id_open_item"), QKeySequence(Qt::CTRL | Qt::Key_F), this, &OrvaneMainWindow::OpenSmsDialog);
    sms->addAction(Text("id_generate_item"), QKeySequence(Qt::CTRL | Qt::Key_G), this, &OrvaneMainWindow::SmsGenerate);
    sms->addAction(Text("id_generate_as_item"), QKeySequence(Qt::CTRL | Qt::Key_H), this,
                   &OrvaneMainWindow::SmsGenerateAs);

    QMenu* batch = bar->addMenu(Text("id_batch_menu"));
    batch->addAction(Text("id_new_item"), QKeySequence(Qt::CTRL | Qt::Key_N), this, &OrvaneMainWindow::NewBatch);
    batch->addAction(Text("id_open_item"), QKeySequence(Qt::CTRL | Qt::Key_X), this,
                     &OrvaneMainWindow::OpenBatchDialog);
    batch->addAction(Text("id_save_as_item"), QKeySequence(Qt::CTRL | Qt::Key_S), this,
                     &OrvaneMainWindow::SaveAsBatchDialog);
    batch->addAction(Text("id_launch_item"), QKeySequence(Qt::CTRL | Qt::Key_L), this,
                     &OrvaneMainWindow::LaunchBatchDialog);

    mpTargetMenu = bar->addMenu(Text("id_Target_menu"));
    mpTargetGroup = new QActionGroup(this);
    mpTargetGroup->setExclusive(true);

    QMenu* help = bar->addMenu(Text("id_help_menu"));
    help->addAction(Text("id_help_about_item"), QKeySequence(Qt::Key_F1), this, &OrvaneMainWindow::about);
    mpHelpWindow = new CHelpWnd(nullptr, QString(), false, Qt::Window);
    mpHelpWindow->setWindowTitle(Text("id_title_help_window"));
    mpHelpWindow->resize(825, 565);
    // An open help window comes to the front, back on its first page.
    help->addAction(Text("id_help_index_item"), QKeySequence(Qt::Key_F2), this, [this] {
        mpHelpWindow->show();
        mpHelpWindow->raise();
        mpHelpWindow->activateWindow();
    });
}

void OrvaneMainWindow::BuildToolBar()
{
    const QPixmap header = GuiPicture("OrvaneMainWindow", "id_brimsel_header");
    auto* toolBar = new QToolBar(this);
    toolBar->setMovable(false);
    toolBar->setFloatable(false);
    toolBar->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    auto* button = new QToolButton(toolBar);
    button->setIcon(QIcon(header));
    if (!header.isNull()) {
        toolBar->setIconSize(header.size());
        button->setIconSize(header.size());
    }
    button->setAutoRaise(true);
    toolBar->addWidget(button);
    addToolBarBreak(Qt::TopToolBarArea);
    addToolBar(Qt::TopToolBarArea, toolBar);

    QPalette palette(QColor(200, 200, 200));
    toolBar->setPalette(palette);
    setPalette(palette);
    menuBar()->setPalette(palette);
    toolBar->setBackgroundRole(QPalette::Base);
    toolBar->setAutoFillBackground(true);
    setBackgroundRole(QPalette::Base);
    menuBar()->setBackgroundRole(QPalette::Window);
}

void OrvaneMainWindow::show()
{
    QString page;
    emit GetApplicationPath(page);
    page += QStringLiteral("/Help/index.html#top");
    mpHelpWindow->setSource(page);
    if (!mTargetConnected) {
        mTargetConnected = true;
        connect(mpTargetGroup, &QActionGroup::triggered, this,
                [this](QAction* item) { ChooseProfile(item->data().toInt()); });
    }
    QMainWindow::show();
}

void OrvaneMainWindow::SettingDialog()
{
    mpWarningItem->trigger();
}

void OrvaneMainWindow::SetWarnings(B32 on)
{
    mWarnings = on;
}

void OrvaneMainWindow::SettingResize()
{
    mpResizeItem->trigger();
}

void OrvaneMainWindow::SetResizeSystematicOn(B32 on)
{
    mResize = on;
}

bool OrvaneMainWindow::ConfirmUnsavedResult(const char* textId)
{
    if (!mpWarningItem->isChecked())
        return true;
    B32 converted = 0;
    B32 saved = 0;
    mpTabview->mpMediaDestinationPanel->IsConverted(&converted);
    mpTabview->mpMediaDestinationPanel->IsSaved(&saved);
    if (!converted || saved)
        return true;
    const int answer = CGuiServices::Prompt().Ask(Text("id_warning_title"), Text(textId),
                                                  {Text("id_yes_caption"), Text("id_no_caption")}, 1, 1);
    return answer != 1;
}

void OrvaneMainWindow::CheckSavingBeforeQuit()
{
    if (!ConfirmUnsavedResult("id_warning_text"))
        return;
    mQuitting = true;
    QCoreApplication::quit();
}

void OrvaneMainWindow::closeEvent(QCloseEvent* event)
{
    if (!mQuitting && !ConfirmUnsavedResult("id_warning_text")) {
        event->ignore();
        return;
    }
    mQuitting = true;
    mpHelpWindow->close();
    QMainWindow::closeEvent(event);
}

void OrvaneMainWindow::CheckSavingBeforeClose()
{
    if (ConfirmUnsavedResult("id_unsaved_result_close_media"))
        CloseMediaDialog();
}

void OrvaneMainWindow::OpenMediaDialog()
{
    mpTabview->ShowPage(COrvTabview::MEDIA_TAB);
    if (ConfirmUnsavedResult("id_unsaved_result_open_media"))
        mpTabview->mpMediaSelectorPanel->OpenMediaDialog();
}

void OrvaneMainWindow::CloseMediaDialog()
{
    mpTabview->ShowPage(COrvTabview::MEDIA_TAB);
    mpTabview->mpMediaSelectorPanel->CloseMediaDialog();
}

void OrvaneMainWindow::ConvertMediaDialog()
{
    mpTabview->ShowPage(COrvTabview::MEDIA_TAB);
    mpTabview->mpMediaDestinationPanel->ConvertButtonClicked();
}

void OrvaneMainWindow::SaveMediaDialog()
{
    mpTabview->ShowPage(COrvTabview::MEDIA_TAB);
    mpTabview->mpMediaDestinationPanel->SaveButtonClicked();
}

void OrvaneMainWindow::SaveAsDialog()
{
    mpTabview->ShowPage(COrvTabview::MEDIA_TAB);
    mpTabview->mpMediaDestinationPanel->SaveAs();
}

void OrvaneMainWindow::OpenSmsDialog()
{
    mpTabview->ShowPage(COrvTabview::SMS_TAB);
    mpTabview->mpSmsSelectorPanel->OpenSmsDialog();
}

void OrvaneMainWindow::SmsGenerate()
{
    mpTabview->ShowPage(COrvTabview::SMS_TAB);
    mpTabview->mpSmsDestinationPanel->GenerateButtonClicked();
}

void OrvaneMainWindow::SmsGenerateAs()
{
    mpTabview->ShowPage(COrvTabview::SMS_TAB);
    mpTabview->mpSmsDestinationPanel->SaveAs();
}

void OrvaneMainWindow::NewBatch()
{
    mpTabview->ShowPage(COrvTabview::BATCH_TAB);
    mpTabview->mpParamsSelectorPanel->NewBatch();
}

void OrvaneMainWindow::OpenBatchDialog()
{
    mpTabview->ShowPage(COrvTabview::BATCH_TAB);
    mpTabview->mpParamsSelectorPanel->Load();
}

void OrvaneMainWindow::SaveAsBatchDialog()
{
    mpTabview->ShowPage(COrvTabview::BATCH_TAB);
    mpTabview->mpParamsSelectorPanel->Save();
}

void OrvaneMainWindow::LaunchBatchDialog()
{
    mpTabview->ShowPage(COrvTabview::BATCH_TAB);
    mpTabview->mpBatchDestinationPanel->LaunchButtonClicked();
}

int OrvaneMainWindow::GetCheckedProfile() const
{
    const QList<QAction*> items = mpTargetGroup->actions();
    for (int i = 0; i < items.size(); ++i) {
        if (items.at(i)->isChecked())
            return i;
    }
    return -1;
}

void OrvaneMainWindow::ChooseProfile(int index)
{
    // Another phone drops the media tab's result, as closing the media does: the same question first. The
    // menu has already checked the chosen item; No checks the kept phone again. The phone already chosen
    // changes nothing, so it neither asks nor drops anything.
    if (index == mCurrentProfile || !ConfirmUnsavedResult("id_unsaved_result_change_phone")) {
        CheckTargetItem(mCurrentProfile);
        return;
    }
    SetCurrentProfile(index);
}

void OrvaneMainWindow::CheckTargetItem(int index)
{
    const QList<QAction*> items = mpTargetGroup->actions();
    for (int j = 0; j < items.size(); ++j)
        items.at(j)->setChecked(j == index);
}

void OrvaneMainWindow::SetCurrentProfile(int index)
{
    emit CurrentProfile(index);
    mCurrentProfile = index;
    CheckTargetItem(index);
    ShowProfileName(index);
    emit UpdateConverterList();
}

void OrvaneMainWindow::SetProgress(const QString text, int progress)
{
    statusBar()->showMessage(text);
    mpProgressBar->setValue(progress);
}

void OrvaneMainWindow::InitProgressBar()
{
    mpProgressBar->reset();
    statusBar()->clearMessage();
    ShowProfileName(GetCheckedProfile());
}

void OrvaneMainWindow::ShowProfileName(int index)
{
    mpProfileLabel->setText(index >= 0 && index < mProfileNames.size() ? mProfileNames.at(index) : QString());
}

void OrvaneMainWindow::ValidateConversion(B32 converted)
{
    if (converted)
        mpTabview->mpMediaDestinationPanel->SetConverted();
    else
        mpTabview->mpMediaDestinationPanel->SetNotConverted();
}

void OrvaneMainWindow::FillTargetMenu()
{
    emit GetProfileNameList(mProfileNames);
    for (int i = 0; i < mProfileNames.size(); ++i) {
        QAction* item = mpTargetMenu->addAction(mProfileNames.at(i));
        item->setCheckable(true);
        item->setData(i);
        mpTargetGroup->addAction(item);
    }
}
