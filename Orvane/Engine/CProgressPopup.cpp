#include "CProgressPopup.h"
#include "CEngineState.h"
#include "CMainWindowLink.h"
#include "Core/COrvApplication.h"
#include "Core/CProgressDialog.h"

CProgressPopup::CProgressPopup(COrvApplication& application, CEngineState& state)
    : m_Application(application), m_State(state)
{
}

void CProgressPopup::Show()
{
    if (m_Application.IsCommandLineMode())
        return;
    delete m_State.mpPopup;
    QWidget* parent = m_State.mpWindow ? m_State.mpWindow->GetWindowWidget() : nullptr;
    m_State.mpPopup = new CProgressDialog(parent, QStringLiteral("Popup Dialog"));
    m_State.mpPopup->setWindowTitle(COrvApplication::Message(QStringLiteral("id_currently_converting")));
    m_State.mpPopup->SetText(COrvApplication::Message(QStringLiteral("id_please_wait")));
    m_State.mpPopup->show();
}

void CProgressPopup::Hide()
{
    if (m_Application.IsCommandLineMode())
        return;
    delete m_State.mpPopup;
    m_State.mpPopup = nullptr;
}

void CProgressPopup::OfferCancel(bool batch)
{
    CProgressDialog* popup = m_State.mpPopup;
    if (!popup)
        return;
    popup->SetButton(COrvApplication::Message(QStringLiteral("id_cancel_caption")), true);
    QObject::connect(popup, &CProgressDialog::ButtonClicked, &m_Application, &COrvApplication::CancelConvertion);
    if (batch)
        QObject::connect(popup, &CProgressDialog::ButtonClicked, &m_Application, &COrvApplication::CancelBatch);
    QObject::connect(popup, &CProgressDialog::Rejected, &m_Application, &COrvApplication::CancelConvertion);
    if (batch)
        QObject::connect(popup, &CProgressDialog::Rejected, &m_Application, &COrvApplication::CancelBatch);
}

void CProgressPopup::WithdrawCancel(bool batch)
{
    CProgressDialog* popup = m_State.mpPopup;
    if (!popup)
        return;
    QObject::disconnect(popup, &CProgressDialog::ButtonClicked, &m_Application, &COrvApplication::CancelConvertion);
    QObject::disconnect(popup, &CProgressDialog::Rejected, &m_Application, &COrvApplication::CancelConvertion);
    if (batch) {
        QObject::disconnect(popup, &CProgressDialog::ButtonClicked, &m_Application, &COrvApplication::CancelBatch);
        QObject::disconnect(popup, &CProgressDialog::Rejected, &m_Application, &COrvApplication::CancelBatch);
    }
}
