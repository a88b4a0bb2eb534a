#pragma once

class COrvApplication;
class CEngineState;

// The waiting popup that brackets a conversion, translation or batch run in window mode: modal, shown without
// an event loop of its own, with a cancel button when the run can be stopped. Command-line mode has none.
class CProgressPopup
{
public:
    CProgressPopup(COrvApplication& application, CEngineState& state);

    void Show();
    // Deletes the popup; nothing when none is shown.
    void Hide();
    // Shows the cancel button and sends it, and Escape, to CancelConvertion (and to CancelBatch for a batch).
    void OfferCancel(bool batch);
    // Undoes OfferCancel's connections.
    void WithdrawCancel(bool batch);

private:
    COrvApplication& m_Application;
    CEngineState& m_State;
};
