#include "Gui/Window/COrvTabview.h"
#include "Core/CUserPrompt.h"
#include "Gui/Panels/CBatchSelectorPanel.h"
#include "Gui/Panels/CConverterPanel.h"
#include "Gui/Panels/CDestinationSelectorPanel.h"
#include "Gui/Panels/CMediaSelectorPanel.h"
#include "Gui/Panels/CParamsSelectorPanel.h"
#include "Gui/Panels/CSmsBuilderPanel.h"
#include "Gui/Panels/CSmsSelectorPanel.h"
#include "Gui/Widgets/GuiResources.h"
#include "Gui/Window/CGuiServices.h"
#include <QResizeEvent>
#include <QSplitter>

namespace {

QString Text(const char* id)
{
    return GuiText("COrvTabview", id);
}

QSplitter* MakeGrid(QWidget* parent, const char* name)
{
    auto* grid = new QSplitter(Qt::Horizontal, parent);
    grid->setObjectName(QString::fromLatin1(name));
    grid->setChildrenCollapsible(false);
    return grid;
}

const QString DESTINATION = QStringLiteral("CDestinationSelectorPanel");

} // namespace

COrvTabview::COrvTabview(QWidget* parent, const QString& name) : QTabWidget(parent)
{
    setObjectName(name);
    setMinimumSize(64, 64);

    mpMediaGrid = MakeGrid(this, "MediaGrid");
    mpMediaSelectorPanel = new CMediaSelectorPanel(mpMediaGrid, QStringLiteral("CMediaSelectorPanel"), 1);
    mpConverterPanel = new CConverterPanel(mpMediaGrid, QStringLiteral("CConverterPanel"));
    mpMediaDestinationPanel = new CDestinationSelectorPanel(mpMediaGrid, DESTINATION, 0, 32, 1);
    mpMediaSelectorPanel->SetConverterPanel(mpConverterPanel);
    mpMediaSelectorPanel->SetDestinationPanel(mpMediaDestinationPanel);
    mpConverterPanel->SetMediaSelectorPanel(mpMediaSelectorPanel);
    addTab(mpMediaGrid, Text("id_media_tab"));

    mpSmsGrid = MakeGrid(this, "SmsGrid");
    mpSmsSelectorPanel = new CSmsSelectorPanel(mpSmsGrid, QStringLiteral("CSmsSelectorPanel"), 1);
    mpSmsBuilderPanel = new CSmsBuilderPanel(mpSmsGrid, QStringLiteral("CSmsBuilderPanel"));
    mpSmsDestinationPanel = new CDestinationSelectorPanel(mpSmsGrid, DESTINATION, 1, 0, 1);
    mpSmsSelectorPanel->SetBuilderPanel(mpSmsBuilderPanel);
    mpSmsBuilderPanel->SetSmsSelectorPanel(mpSmsSelectorPanel);
    addTab(mpSmsGrid, Text("id_sms_tab"));

    mpBatchGrid = MakeGrid(this, "BatchGrid");
    mpBatchSelectorPanel = new CBatchSelectorPanel(mpBatchGrid, QStringLiteral("CBatchSelectorPanel"), 1);
    mpParamsSelectorPanel = new CParamsSelectorPanel(mpBatchGrid, QStringLiteral("CParamsSelectorPanel"), 1);
    mpBatchDestinationPanel = new CDestinationSelectorPanel(mpBatchGrid, DESTINATION, 2, 0, 1);
    addTab(mpBatchGrid, Text("id_batch_tab"));

    int tab = 0;
    for (QSplitter* grid : {mpMediaGrid, mpSmsGrid, mpBatchGrid}) {
        grid->setOpaqueResize(true);
        grid->installEventFilter(this);
        CheckConnection(connect(grid, &QSplitter::splitterMoved, this, [this, tab] { mDividerMoved[tab] = true; }));
        ++tab;
    }

    CheckConnection(
        connect(this, &QTabWidget::currentChanged, this, [this](int index) { OnCurrentTabChanged(widget(index)); }));
}

bool COrvTabview::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::Resize) {
        const QSplitter* grids[] = {mpMediaGrid, mpSmsGrid, mpBatchGrid};
        for (int tab = 0; tab < 3; ++tab) {
            if (watched != grids[tab] || mDividerMoved[tab])
                continue;
            // The middle column holds the forms: four ninths of the width, the rest shared by the sides.
            auto* grid = static_cast<QSplitter*>(watched);
            const int width = static_cast<QResizeEvent*>(event)->size().width();
            const int middle = width * 4 / 9;
            const int side = (width - middle) / 2;
            grid->setSizes({side, middle, width - middle - side});
        }
    }
    return QTabWidget::eventFilter(watched, event);
}

void COrvTabview::ShowPage(int tab)
{
    setCurrentIndex(tab);
    if (isVisible())
        SetUpPanels(tab);
}

void COrvTabview::showEvent(QShowEvent* event)
{
    QTabWidget::showEvent(event);
    SetUpPanels(currentIndex());
}

void COrvTabview::SetUpPanels(int tab)
{
    if (tab < 0 || tab > 2 || mSetUp[tab])
        return;
    mSetUp[tab] = true;
    switch (tab) {
    case MEDIA_TAB:
        mpMediaSelectorPanel->show();
        mpConverterPanel->show();
        mpMediaDestinationPanel->show();
        break;
    case SMS_TAB:
        mpSmsSelectorPanel->show();
        mpSmsBuilderPanel->show();
        mpSmsDestinationPanel->show();
        break;
    default:
        mpBatchSelectorPanel->show();
        mpParamsSelectorPanel->show();
        mpBatchDestinationPanel->show();
        break;
    }
}

void COrvTabview::SetWarnings(B32 on)
{
    mWarnings = on;
}

void COrvTabview::ResetMedia()
{
    mpMediaDestinationPanel->OnConverterControlChanged();
    mpMediaDestinationPanel->SetNotConverted();
    mpMediaDestinationPanel->SetNotSaved();
    mpMediaSelectorPanel->CloseMediaDialog();
}

void COrvTabview::OnCurrentTabChanged(QWidget* page)
{
    if (isVisible())
        SetUpPanels(indexOf(page));
    if (page == mpMediaGrid)
        return;
    B32 converted = 0;
    mpMediaDestinationPanel->IsConverted(&converted);
    // The result previews show documents of the application's that the next run may delete, so whatever
    // happens the media tab is reset when it is left.
    if (converted && mWarnings) {
        B32 saved = 0;
        mpMediaDestinationPanel->IsSaved(&saved);
        if (!saved) {
            const int answer = CGuiServices::Prompt().Ask(Text("id_warning_title"), Text("id_warning_save_text"),
                                                          {Text("id_yes_caption"), Text("id_no_caption")}, 1, 1);
            if (answer == 0)
                mpMediaDestinationPanel->SaveButtonClicked();
        }
    }
    ResetMedia();
}
