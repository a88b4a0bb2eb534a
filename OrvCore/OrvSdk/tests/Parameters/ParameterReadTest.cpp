// The one typed read: every type against a present key, a missing key, a key
// of another type and a missing set, through both name forms.
#include "Parameters/ParameterRead.h"
#include "ParameterTestUtil.h"
#include "Parameters/CParameters.h"

#include <gtest/gtest.h>

using namespace ParameterTest;

namespace {
const QByteArray kSet = WithParameters("<DATA NAME=\"Flag\" TYPE=\"bool\" VALUE=\"true\"/>"
                                       "<DATA NAME=\"Count\" TYPE=\"int\" VALUE=\"-7\"/>"
                                       "<DATA NAME=\"Gain\" TYPE=\"float\" VALUE=\"0.5\"/>"
                                       "<DATA NAME=\"Title\" TYPE=\"string\" VALUE=\"Hello\"/>"
                                       "<DATA NAME=\"Style\" TYPE=\"Styles\" VALUE=\"Staccato\"/>");

// One read of each type, its value printed as text so one table covers all.
enum class Kind
{
    Bool,
    Int,
    Float,
    Text,
    Enum
};

QString Read(const CParameters* set, Kind kind, const char* name, bool* present, bool byText)
{
    const QString text = QString::fromLatin1(name);
    switch (kind) {
    case Kind::Bool:
        return QString::number(byText ? ParameterRead::Bool(set, text, false, present)
                                      : ParameterRead::Bool(set, name, false, present));
    case Kind::Int:
        return QString::number(byText ? ParameterRead::Int(set, text, 42, present)
                                      : ParameterRead::Int(set, name, 42, present));
    case Kind::Float:
        return QString::number(byText ? ParameterRead::Float(set, text, 2.25f, present)
                                      : ParameterRead::Float(set, name, 2.25f, present));
    case Kind::Text:
        return byText ? ParameterRead::Text(set, text, S("none"), present)
                      : ParameterRead::Text(set, name, S("none"), present);
    case Kind::Enum:
        return byText ? ParameterRead::Enum(set, text, S("none"), present)
                      : ParameterRead::Enum(set, name, S("none"), present);
    }
    return QString();
}

struct ReadCase
{
    Kind kind;
    const char* name;
    bool withSet;
    const char* expected;
    bool present;
};

const ReadCase kCases[] = {
    {Kind::Bool, "Flag", true, "1", true},         {Kind::Bool, "Missing", true, "0", false},
    {Kind::Bool, "Count", true, "0", false},       {Kind::Bool, "Flag", false, "0", false},
    {Kind::Int, "Count", true, "-7", true},        {Kind::Int, "Missing", true, "42", false},
    {Kind::Int, "Gain", true, "42", false},        {Kind::Int, "Count", false, "42", false},
    {Kind::Float, "Gain", true, "0.5", true},      {Kind::Float, "Missing", true, "2.25", false},
    {Kind::Float, "Count", true, "2.25", false},   {Kind::Float, "Gain", false, "2.25", false},
    {Kind::Text, "Title", true, "Hello", true},    {Kind::Text, "Missing", true, "none", false},
    {Kind::Text, "Style", true, "none", false},    {Kind::Text, "Title", false, "none", false},
    {Kind::Enum, "Style", true, "Staccato", true}, {Kind::Enum, "Missing", true, "none", false},
    {Kind::Enum, "Title", true, "none", false},    {Kind::Enum, "Style", false, "none", false},
};
} // namespace

TEST(ParameterRead, ValueOrFallbackAndPresence)
{
    TempFiles files;
    CParameters set;
    ASSERT_TRUE(set.Load(files.Write(kSet)));
    for (const bool byText : {false, true}) {
        for (const ReadCase& c : kCases) {
            SCOPED_TRACE(std::string(c.name) + (c.withSet ? "" : " without a set") + (byText ? " by text" : ""));
            bool present = !c.present;
            EXPECT_EQ(Read(c.withSet ? &set : nullptr, c.kind, c.name, &present, byText), S(c.expected));
            EXPECT_EQ(present, c.present);
            // The presence flag is optional.
            EXPECT_EQ(Read(c.withSet ? &set : nullptr, c.kind, c.name, nullptr, byText), S(c.expected));
        }
    }
}

TEST(ParameterRead, AKeyOfAnotherTypeIsNoCheckWarning)
{
    TempFiles files;
    CParameters set;
    ASSERT_TRUE(set.Load(files.Write(kSet)));
    MessageCapture capture;
    EXPECT_EQ(ParameterRead::Int(&set, "Title", 3), 3);
    EXPECT_EQ(ParameterRead::Bool(&set, "Style", true), true);
    EXPECT_TRUE(capture.Messages().isEmpty());
}
