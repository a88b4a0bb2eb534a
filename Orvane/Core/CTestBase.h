#pragma once

class QString;

// A developer test object, chosen on the command line and called at fixed points of the run.
// The application owns it and deletes it at shut-down. The results are not used.
class CTestBase
{
public:
    virtual ~CTestBase() = default;
    // At the very end of a successful start-up.
    virtual bool Start() { return true; }
    // First thing of the run.
    virtual bool Run() { return true; }
    // First thing of the shut-down, before the object is deleted.
    virtual bool Close() { return true; }
};

// The test object for a "user=" value; null when the value names none.
CTestBase* CreateTestObject(const QString& selector);
