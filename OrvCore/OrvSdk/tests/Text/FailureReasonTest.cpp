// The line that says why a file failed reads as a sentence of its own, whatever form the reason came in.
#include "Text/FailureReason.h"
#include "Text/CLanguageResources.h"

#include <gtest/gtest.h>

namespace {

TEST(FailureReason, EveryReasonBecomesASentence)
{
    ASSERT_TRUE(CLanguageResources::Load(QStringLiteral(ORV_SOURCE_DIR "/data/app/Languages/English.xml")));
    const struct
    {
        const char *reason, *line;
    } cases[] = {
        // A reader's sentence stands as it is, its last line feed dropped.
        {"The picture could not be read.", "Reason: The picture could not be read."},
        {"Ecard content is not well-formed !\n", "Reason: Ecard content is not well-formed !"},
        // What the file is or has: the file is its subject.
        {"is not a well-formed XML file", "Reason: it is not a well-formed XML file."},
        {"is empty", "Reason: it is empty."},
        {"has more than 256 attributes on an element", "Reason: it has more than 256 attributes on an element."},
        // The system's words and clauses with their own subject close with a period.
        {"Permission denied", "Reason: Permission denied."},
        {"its root has no TSECTION element", "Reason: its root has no TSECTION element."},
        // A reason of several lines keeps them without the blank ones.
        {"Sound conversion failed\n\n", "Reason: Sound conversion failed."},
        {"The melody is empty.\n\n  \nNothing was written.\n", "Reason: The melody is empty.\nNothing was written."},
        {"", ""},
        {"\n \n", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FailureReasonLine(QString::fromLatin1(c.reason)), QString::fromLatin1(c.line)) << c.reason;
    EXPECT_EQ(WithFailureReason(QStringLiteral("The file a.png could not be read."), QStringLiteral("is empty")),
              QStringLiteral("The file a.png could not be read.\nReason: it is empty."));
    EXPECT_EQ(WithFailureReason(QStringLiteral("The file a.png could not be read."), QString()),
              QStringLiteral("The file a.png could not be read."));
    CLanguageResources::Load(QString());
}

} // namespace
