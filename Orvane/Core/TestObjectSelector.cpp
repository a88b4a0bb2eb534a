#include "CTestBase.h"
#include <QString>

// No developer test objects are built into this program yet, so no value selects one.
CTestBase* CreateTestObject(const QString&)
{
    return nullptr;
}
