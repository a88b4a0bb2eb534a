#pragma once
#include "Util/Types.h"
#include <QTabWidget>

class CBatchSelectorPanel;
class CConverterPanel;
class CDestinationSelectorPanel;
class CMediaSelectorPanel;
class CParamsSelectorPanel;
class CSmsBuilderPanel;
class CSmsSelectorPanel;
class QSplitter;

// The main window's three tabs (media, SMS, batch), each a splitter of a source, a parameter and a
// destination panel. Leaving the media tab lets the loaded media and its result go, after the optional save.
class COrvTabview : public QTabWidget
{
    Q_OBJECT
public:
    enum
    {
        MEDIA_TAB = 0,
        SMS_TAB = 1,
        BATCH_TAB = 2
    };

    COrvTabview(QWidget* parent, const QString& name);

    // Shows tab n, setting its panels up the first time.
    void ShowPage(int tab);
    B32 GetWarnings() const { return mWarnings; }

    QSplitter* mpMediaGrid;
    CMediaSelectorPanel* mpMediaSelectorPanel;
    CConverterPanel* mpConverterPanel;
    CDestinationSelectorPanel* mpMediaDestinationPanel;
    QSplitter* mpSmsGrid;
    CSmsSelectorPanel* mpSmsSelectorPanel;
    CSmsBuilderPanel* mpSmsBuilderPanel;
    CDestinationSelectorPanel* mpSmsDestinationPanel;
    QSplitter* mpBatchGrid;
    CBatchSelectorPanel* mpBatchSelectorPanel;
    CParamsSelectorPanel* mpParamsSelectorPanel;
    CDestinationSelectorPanel* mpBatchDestinationPanel;

public slots:
    void OnCurrentTabChanged(QWidget* page);
    void SetWarnings(B32 on);

protected:
    // The first showing sets up the visible tab's panels.
    void showEvent(QShowEvent* event) override;
    // Shares each tab's width out among its columns until the user moves a divider.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Each panel's first-show set-up runs once, source first: the parameter panel and the destination's
    // pattern need the source's converter list.
    void SetUpPanels(int tab);
    // The media result and the loaded media go.
    void ResetMedia();

    B32 mWarnings = 1;
    bool mSetUp[3] = {false, false, false};
    bool mDividerMoved[3] = {false, false, false};
};
