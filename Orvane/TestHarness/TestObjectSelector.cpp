#include "CMoreTests.h"
#include "CQuietTests.h"
#include "CTalmoTests.h"
#include "Core/CTestBase.h"
#include <QString>

namespace {

struct CTestKey
{
    const char* key; // upper case, as the command line hands the value over
    CTestBase* (*create)();
};

template <typename T>
CTestBase* Create()
{
    return new T;
}

const CTestKey kTestKeys[] = {
    {"BRENNA", &Create<CBrennaTests>}, {"CORVIN", &Create<CMoreTests>},     {"ISOLDE", &Create<CIsoldeTests>},
    {"TALMO", &Create<CTalmoTests>},   {"WEYLAND", &Create<CWeylandTests>},
};

} // namespace

CTestBase* CreateTestObject(const QString& selector)
{
    for (const CTestKey& entry : kTestKeys) {
        if (selector == QLatin1String(entry.key))
            return entry.create();
    }
    return nullptr;
}
