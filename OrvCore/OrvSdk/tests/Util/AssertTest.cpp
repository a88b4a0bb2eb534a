#include "Util/Assert.h"
#include "tests/SdkTestSupport.h"

#include <QString>
#include <QStringList>
#include <gtest/gtest.h>

TEST(AssertMacro, FailedCheckWarnsAndCarriesOn)
{
    QStringList warnings;
    int reached = 0;
    int line = 0;
    {
        MessageCapture capture;
        line = __LINE__ + 1;
        ASSERT(1 + 1 == 3);
        reached = 1;
        ASSERT(reached == 1);
        warnings = capture.Messages();
    }

    EXPECT_EQ(reached, 1);
    ASSERT_EQ(warnings.size(), 1);
    EXPECT_TRUE(warnings.first().startsWith(QStringLiteral("ASSERT: \"1 + 1 == 3\" in ")));
    EXPECT_TRUE(warnings.first().endsWith(QStringLiteral("AssertTest.cpp (%1)").arg(line)));
}

TEST(AssertMacro, CheckWithItsOwnTextReportsThatText)
{
    QStringList warnings;
    int line = 0;
    {
        MessageCapture capture;
        const int count = 2;
        line = __LINE__ + 1;
        ASSERT_TEXT(count < 2, "from<(int)IMYNotes.count()");
        ASSERT_TEXT(count == 2, "never shown");
        warnings = capture.Messages();
    }
    ASSERT_EQ(warnings.size(), 1);
    EXPECT_EQ(warnings.first(), QStringLiteral("ASSERT: \"from<(int)IMYNotes.count()\" in %1 (%2)")
                                    .arg(QString::fromLatin1(__FILE__))
                                    .arg(line));
}
