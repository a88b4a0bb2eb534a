#include "CMoreTests.h"

void CMoreTests::SetListOfFakeName(QStringList& list)
{
    list.clear();
    for (int n = 0; n < FAKE_CONVERTER_COUNT; ++n)
        list.append(QStringLiteral("fakeConverter%1").arg(n));
}
