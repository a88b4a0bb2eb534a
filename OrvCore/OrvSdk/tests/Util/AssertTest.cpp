#include "Util/Assert.h"

#include <gtest/gtest.h>
#include <QString>
#include <QStringList>

namespace {
QStringList g_Warnings;
void CaptureWarnings(QtMsgType, const QMessageLogContext&, const QString& text)
{
    g_Warnings << text;
}
} // namespace

TEST(AssertMacro, FailedCheckWarnsAndCarriesOn)
{
    g_Warnings.clear();
    QtMessageHandler previous = qInstallMessageHandler(CaptureWarnings);
    int reached = 0;
    ASSERT(1 + 1 == 3); const int line = __LINE__;
    reached = 1;
    ASSERT(reached == 1);
    qInstallMessageHandler(previous);

    EXPECT_EQ(reached, 1);
    ASSERT_EQ(g_Warnings.size(), 1);
    EXPECT_TRUE(g_Warnings.first().startsWith(QStringLiteral("ASSERT: \"1 + 1 == 3\" in ")));
    EXPECT_TRUE(g_Warnings.first().endsWith(QStringLiteral("AssertTest.cpp (%1)").arg(line)));
}
