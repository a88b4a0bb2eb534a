#pragma once
#include <QDialog>
#include <QString>

class CPushButton;
class QHBoxLayout;
class QLabel;
class QSpacerItem;
class QTextBrowser;
class QVBoxLayout;

// The help window: a browser over the help pages with home, back and forward picture buttons. Every showing
// starts again from the page it was given.
class CHelpWnd : public QDialog
{
    Q_OBJECT
public:
    CHelpWnd(QWidget* parent, const QString& name, bool modal, Qt::WindowFlags flags);

    QTextBrowser* GetBrowser() const { return mpBrowser; }
    CPushButton* GetBackwardButton() const { return mpBackward; }
    CPushButton* GetForwardButton() const { return mpForward; }
    CPushButton* GetHomeButton() const { return mpHome; }
    const QString& GetPage() const { return mPage; }

public slots:
    // A file path, optionally followed by "#" and an anchor.
    void setSource(QString& page);

    // Every showing, also of a window that is already open, starts again from the stored page.
    void setVisible(bool visible) override;

private:
    void ShowPage();

    CPushButton* mpBackward;
    CPushButton* mpForward;
    CPushButton* mpHome;
    QTextBrowser* mpBrowser;
    QVBoxLayout* mpGlobalLayout;
    QHBoxLayout* mpButtonLayout;
    QSpacerItem* mpSpacer;
    QLabel* mpIcon;
    QString mPage;
};
