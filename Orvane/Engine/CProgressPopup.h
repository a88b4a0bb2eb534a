#pragma once

class COrvEngine;

// The waiting popup that brackets a conversion, translation or batch run in window mode: modal, shown without
// an event loop of its own, with a cancel button when the run can be stopped. Command-line mode has none.
// The user interface makes the window (CEngineHost::CreateWaitingPopup); the engine state holds it.
class CProgressPopup
{
public:
    explicit CProgressPopup(COrvEngine& engine);

    void Show();
    // Deletes the popup; nothing when none is shown.
    void Hide();
    // Shows the cancel button and sends it, and Escape, to CancelConvertion (and to CancelBatch for a batch).
    void OfferCancel(bool batch);
    // Undoes OfferCancel's connections.
    void WithdrawCancel(bool batch);

private:
    COrvEngine& m_Engine;
};
