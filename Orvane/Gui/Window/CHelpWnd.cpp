#include "Gui/Window/CHelpWnd.h"
#include "Gui/Widgets/CPushButton.h"
#include "Gui/Widgets/GuiResources.h"
#include <QHBoxLayout>
#include <QLabel>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

namespace {

CPushButton* MakeButton(QWidget* parent, const char* normal, const char* activated, const char* disabled)
{
    return new CPushButton(GuiPicture("CHelpWnd", normal), GuiPicture("CHelpWnd", activated),
                           GuiPicture("CHelpWnd", disabled), parent);
}

// A local page with its anchor: the anchor goes into the fragment, since a "#" in a file name is encoded.
QUrl PageUrl(const QString& page)
{
    const int hash = int(page.lastIndexOf(QLatin1Char('#')));
    QUrl url = QUrl::fromLocalFile(hash < 0 ? page : page.left(hash));
    if (hash >= 0)
        url.setFragment(page.mid(hash + 1));
    return url;
}

} // namespace

CHelpWnd::CHelpWnd(QWidget* parent, const QString& name, bool modal, Qt::WindowFlags flags)
    : QDialog(parent, flags), mpBackward(MakeButton(this, "id_help_backward_normal", "id_help_backward_activated",
                                                    "id_help_backward_disabled")),
      mpForward(MakeButton(this, "id_help_forward_normal", "id_help_forward_activated", "id_help_forward_disabled")),
      mpHome(MakeButton(this, "id_help_home_normal", "id_help_home_activated", "id_help_home_normal")),
      mpBrowser(new QTextBrowser(this)), mpGlobalLayout(new QVBoxLayout(this)), mpButtonLayout(new QHBoxLayout),
      mpSpacer(new QSpacerItem(20, 5, QSizePolicy::Expanding, QSizePolicy::Minimum)), mpIcon(new QLabel(this))
{
    setObjectName(name);
    setModal(modal);
    // The help stays open beside the main window without keeping the program alive.
    setAttribute(Qt::WA_QuitOnClose, false);
    mpGlobalLayout->setObjectName(QStringLiteral("globalLayout"));
    mpGlobalLayout->setContentsMargins(0, 0, 0, 0);
    mpGlobalLayout->setSpacing(6);
    mpButtonLayout->setObjectName(QStringLiteral("buttonLayout"));
    mpButtonLayout->setSpacing(6);

    mpIcon->setObjectName(QStringLiteral("Icon"));
    mpIcon->setPixmap(GuiPicture("CHelpWnd", "id_brimsel_icon"));
    mpIcon->setScaledContents(false);
    mpIcon->setAlignment(Qt::AlignTop);
    mpIcon->setMinimumSize(0, 0);
    mpIcon->setMaximumHeight(32);
    const QPixmap logo = GuiPicture("CHelpWnd", "id_brimsel_logo_icon");
    if (!logo.isNull())
        setWindowIcon(logo);

    mpButtonLayout->addWidget(mpHome);
    mpButtonLayout->addWidget(mpBackward);
    mpButtonLayout->addWidget(mpForward);
    mpButtonLayout->addItem(mpSpacer);
    mpButtonLayout->addWidget(mpIcon);
    mpGlobalLayout->addLayout(mpButtonLayout);
    mpGlobalLayout->addWidget(mpBrowser, 1);

    CheckConnection(connect(mpHome, &CPushButton::Clicked, mpBrowser, &QTextBrowser::home));
    CheckConnection(connect(mpBackward, &CPushButton::Clicked, mpBrowser, &QTextBrowser::backward));
    CheckConnection(connect(mpForward, &CPushButton::Clicked, mpBrowser, &QTextBrowser::forward));
    CheckConnection(connect(mpBrowser, &QTextBrowser::backwardAvailable, mpBackward, &QWidget::setEnabled));
    CheckConnection(connect(mpBrowser, &QTextBrowser::forwardAvailable, mpForward, &QWidget::setEnabled));
    mpBackward->setEnabled(false);
    mpForward->setEnabled(false);
}

void CHelpWnd::setSource(QString& page)
{
    mPage = page;
    ShowPage();
}

void CHelpWnd::ShowPage()
{
    if (!mPage.isEmpty())
        mpBrowser->setSource(PageUrl(mPage));
}

void CHelpWnd::setVisible(bool visible)
{
    // show() on a window already shown sends no show event: the page is set here so that it is reset then too.
    if (visible)
        ShowPage();
    QDialog::setVisible(visible);
}
