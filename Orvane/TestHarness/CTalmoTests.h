#pragma once
#include "Core/CTestBase.h"
#include <memory>

class TestDialog;

// The test object that opens the diagnostic dialog beside the main window. The dialog has no parent, so this
// object owns it and deletes it when it closes.
class CTalmoTests : public CTestBase
{
public:
    CTalmoTests();
    ~CTalmoTests() override;

    // In window mode: shows the diagnostic dialog, modeless. A command-line run shows no window at all.
    bool Run() override;
    // Says so on the debug output and deletes the dialog.
    bool Close() override;

private:
    std::unique_ptr<TestDialog> m_pDialog;
};
