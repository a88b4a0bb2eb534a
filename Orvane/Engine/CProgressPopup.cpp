#include "CProgressPopup.h"
#include "CEngineHost.h"
#include "CMainWindowLink.h"
#include "COrvEngine.h"
#include "CWaitingPopup.h"
#include "EngineSupport.h"

CProgressPopup::CProgressPopup(COrvEngine& engine) : m_Engine(engine) {}

void CProgressPopup::Show()
{
    if (m_Engine.Host().IsCommandLineMode())
        return;
    CEngineState& state = m_Engine.State();
    state.mpPopup.reset();
    QWidget* parent = state.mpWindow ? state.mpWindow->GetWindowWidget() : nullptr;
    state.mpPopup.reset(m_Engine.Host().CreateWaitingPopup(parent));
    if (!state.mpPopup)
        return;
    state.mpPopup->SetTitle(Message("id_currently_converting"));
    state.mpPopup->SetText(Message("id_please_wait"));
    state.mpPopup->Show();
}

void CProgressPopup::Hide()
{
    if (m_Engine.Host().IsCommandLineMode())
        return;
    m_Engine.State().mpPopup.reset();
}

void CProgressPopup::OfferCancel(bool batch)
{
    CWaitingPopup* popup = m_Engine.State().mpPopup.get();
    if (!popup)
        return;
    COrvEngine* engine = &m_Engine;
    popup->OfferCancel(Message("id_cancel_caption"), [engine, batch] {
        engine->CancelConvertion();
        if (batch)
            engine->CancelBatch();
    });
}

void CProgressPopup::WithdrawCancel(bool)
{
    if (CWaitingPopup* popup = m_Engine.State().mpPopup.get())
        popup->WithdrawCancel();
}
