#include "Gui/Widgets/CProgressPopupWindow.h"
#include "Gui/Widgets/CProgressDialog.h"

CProgressPopupWindow::CProgressPopupWindow(QWidget* parent)
    : m_pDialog(new CProgressDialog(parent, QStringLiteral("Popup Dialog")))
{
    // The button and Escape each ask once; both reach the cancel on offer at that moment.
    const auto cancel = [this] {
        if (m_Cancel)
            m_Cancel();
    };
    QObject::connect(m_pDialog, &CProgressDialog::ButtonClicked, m_pDialog, cancel);
    QObject::connect(m_pDialog, &CProgressDialog::Rejected, m_pDialog, cancel);
}

CProgressPopupWindow::~CProgressPopupWindow()
{
    delete m_pDialog;
}

void CProgressPopupWindow::SetTitle(const QString& title)
{
    if (m_pDialog)
        m_pDialog->setWindowTitle(title);
}

void CProgressPopupWindow::Show()
{
    if (m_pDialog)
        m_pDialog->show();
}

void CProgressPopupWindow::Hide()
{
    if (m_pDialog)
        m_pDialog->hide();
}

void CProgressPopupWindow::SetText(const QString& text)
{
    if (m_pDialog)
        m_pDialog->SetText(text);
}

void CProgressPopupWindow::OfferCancel(const QString& caption, std::function<void()> cancel)
{
    m_Cancel = std::move(cancel);
    if (m_pDialog)
        m_pDialog->SetButton(caption, true);
}

void CProgressPopupWindow::WithdrawCancel()
{
    m_Cancel = nullptr;
}
