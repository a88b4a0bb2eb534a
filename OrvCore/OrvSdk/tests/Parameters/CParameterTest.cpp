#include "ParameterTestUtil.h"
#include "Parameters/CParameters.h"
#include "Parameters/ParameterValue.h"

#include <gtest/gtest.h>

using namespace ParameterTest;

TEST(IntParameterReset, DefaultIsClampedToLimitsChangedAfterLoading)
{
    struct Case
    {
        int defaultValue, minimum, maximum, expected;
    };
    const Case cases[] = {
        {10, 0, 20, 10},
        {30, 0, 20, 20},  // above the maximum: the maximum
        {-5, 0, 20, 0},   // below the minimum: the minimum
        {30, 40, 20, 40}, // crossed limits: the minimum is checked last
    };
    for (const Case& c : cases) {
        CIntParameter parameter(c.defaultValue, INT32_MIN, INT32_MAX);
        parameter.mValue = 12345;
        parameter.mMin = c.minimum;
        parameter.mMax = c.maximum;
        parameter.Reset();
        EXPECT_EQ(parameter.mValue, c.expected) << c.defaultValue;
    }
}

TEST(FloatParameterReset, DefaultIsClampedToLimits)
{
    CFloatParameter parameter(2.5f, 0.0f, 10.0f);
    parameter.mValue = 7.0f;
    parameter.mMax = 2.0f;
    parameter.Reset();
    EXPECT_EQ(parameter.mValue, 2.0f);
    parameter.mMax = 10.0f;
    parameter.mMin = 3.0f;
    parameter.Reset();
    EXPECT_EQ(parameter.mValue, 3.0f);
}

TEST(ParameterReset, DeclaredConstantKeepsItsValueAndFlagReturns)
{
    CIntParameter number(3, 0, 10);
    number.mIsDeclaredConst = true;
    number.mIsConst = false;
    number.mValue = 7;
    number.mMax = 5;
    number.Reset();
    EXPECT_EQ(number.mValue, 7);
    EXPECT_TRUE(number.mIsConst);

    CBoolParameter flag(true);
    flag.mValue = false;
    flag.mIsConst = true; // made constant by a converter
    flag.Reset();
    EXPECT_FALSE(flag.mIsConst);
    EXPECT_TRUE(flag.mValue);

    CStringParameter text(S("default"));
    text.mValue = S("changed");
    text.Reset();
    EXPECT_EQ(text.GetValue(), S("default"));
}

TEST(EnumType, SplitsAtBlanksAndRestores)
{
    CEnumType type(S("Styles"), S("  Natural  Continuous Staccato "));
    EXPECT_EQ(type.GetValues(), QStringList({S("Natural"), S("Continuous"), S("Staccato")}));
    EXPECT_EQ(type.IndexOf(S("Staccato")), 2);
    EXPECT_EQ(type.IndexOf(S("staccato")), -1);
    EXPECT_TRUE(type.RemoveValue(S("Continuous")));
    EXPECT_FALSE(type.RemoveValue(S("Continuous")));
    EXPECT_EQ(type.IndexOf(S("Staccato")), 1);
    type.RestoreValues();
    EXPECT_EQ(type.GetValues(), type.GetDeclaredValues());
}

TEST(EnumParameter, IndexOutOfRangeGivesNullTexts)
{
    CEnumType type(S("Styles"), S("Natural Continuous"));
    CEnumParameter parameter(5, &type);
    EXPECT_TRUE(parameter.GetValue().isNull());
    EXPECT_TRUE(parameter.GetDefaultValue().isNull());
    CEnumParameter second(1, &type);
    EXPECT_EQ(second.GetValue(), S("Continuous"));
}

namespace {
class EnumParameterInSet : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(mSet.Load(
            mFiles.Write(WithParameters("<DATA NAME=\"Style\" TYPE=\"Styles\" VALUE=\"Natural\"/>"
                                        "<DATA NAME=\"Fixed\" TYPE=\"Styles\" VALUE=\"Continuous\" CONST=\"yes\"/>"))));
        mStyle = mSet.GetEnumParameter(S("Style"));
        ASSERT_NE(mStyle, nullptr);
    }
    TempFiles mFiles;
    CParameters mSet;
    CEnumParameter* mStyle = nullptr;
};
} // namespace

TEST_F(EnumParameterInSet, SetValueOnlyToAllowedTexts)
{
    EXPECT_TRUE(mStyle->SetValue(S("Staccato")));
    EXPECT_EQ(mStyle->GetValue(), S("Staccato"));
    EXPECT_FALSE(mStyle->SetValue(S("Legato")));
    EXPECT_EQ(mStyle->GetValue(), S("Staccato"));

    CEnumParameter* fixed = mSet.GetEnumParameter(S("Fixed"));
    EXPECT_FALSE(fixed->SetValue(S("Natural")));
    EXPECT_EQ(fixed->GetValue(), S("Continuous"));
}

TEST_F(EnumParameterInSet, RemovedValuesAreRefusedUntilRestored)
{
    MessageCapture catcher;
    EXPECT_TRUE(mStyle->RemoveValue(S("Staccato")));
    EXPECT_FALSE(mStyle->SetValue(S("Staccato")));
    // The type is shared: the other parameter of that type sees the narrowing too.
    EXPECT_EQ(mSet.GetEnumParameter(S("Fixed"))->GetEnumType()->IndexOf(S("Staccato")), -1);
    EXPECT_FALSE(mStyle->RemoveValue(S("Staccato")));
    EXPECT_FALSE(mStyle->RemoveValue(S("Natural"))); // the current value
    EXPECT_EQ(mStyle->GetEnumType()->GetValues(), QStringList({S("Natural"), S("Continuous")}));
    EXPECT_EQ(catcher.Checks(), QStringList({S("(0)"), S("(0)")}));
    mStyle->RestoreValues();
    EXPECT_TRUE(mStyle->SetValue(S("Staccato")));
}

TEST_F(EnumParameterInSet, ResetGoesThroughSetValue)
{
    ASSERT_TRUE(mStyle->SetValue(S("Staccato")));
    mStyle->Reset();
    EXPECT_EQ(mStyle->GetValue(), S("Natural"));

    // A default that the phone no longer allows is not restored.
    ASSERT_TRUE(mStyle->SetValue(S("Staccato")));
    ASSERT_TRUE(mStyle->RemoveValue(S("Natural")));
    mStyle->Reset();
    EXPECT_EQ(mStyle->GetValue(), S("Staccato"));
    mStyle->RestoreValues();

    // A parameter made constant stays constant and keeps its value.
    mStyle->mIsConst = true;
    mStyle->mValue = S("Continuous");
    mStyle->Reset();
    EXPECT_EQ(mStyle->GetValue(), S("Continuous"));
    EXPECT_TRUE(mStyle->mIsConst);
}

TEST_F(EnumParameterInSet, ResetAllVisitsEveryParameter)
{
    ASSERT_TRUE(mStyle->SetValue(S("Staccato")));
    mSet.ResetAll();
    EXPECT_EQ(mStyle->GetValue(), S("Natural"));
    EXPECT_EQ(mSet.GetEnumParameter(S("Fixed"))->GetValue(), S("Continuous"));
}

// What a phone filter does to a set (limits, constant flags, choices, values), undone whole: the set is the file
// again, whatever narrowed it before.
TEST(ParametersRestoreDeclared, BringsBackTheFileWhateverFiltersChanged)
{
    TempFiles files;
    CParameters set;
    ASSERT_TRUE(
        set.Load(files.Write(WithParameters("<DATA NAME=\"Tempo\" TYPE=\"int\" VALUE=\"120\" MIN=\"25\" MAX=\"900\"/>"
                                            "<DATA NAME=\"Gain\" TYPE=\"float\" VALUE=\"0.5\" MIN=\"0\" MAX=\"2\"/>"
                                            "<DATA NAME=\"Style\" TYPE=\"Styles\" VALUE=\"Natural\"/>"
                                            "<DATA NAME=\"Mask\" TYPE=\"bool\" VALUE=\"true\"/>"
                                            "<DATA NAME=\"Title\" TYPE=\"string\" VALUE=\"tune\"/>"
                                            "<DATA NAME=\"Fixed\" TYPE=\"int\" VALUE=\"3\" CONST=\"yes\"/>"))));
    CIntParameter* tempo = set.GetIntParameter(S("Tempo"));
    CFloatParameter* gain = set.GetFloatParameter(S("Gain"));
    CEnumParameter* style = set.GetEnumParameter(S("Style"));
    CBoolParameter* mask = set.GetBoolParameter(S("Mask"));
    CStringParameter* title = set.GetStringParameter(S("Title"));
    CIntParameter* fixed = set.GetIntParameter(S("Fixed"));
    tempo->mMin = 30;
    tempo->mMax = 300;
    tempo->mValue = 300;
    gain->mMax = 1.0f;
    gain->mValue = 1.0f;
    ASSERT_TRUE(style->SetValue(S("Staccato")));
    ASSERT_TRUE(style->RemoveValue(S("Natural")));
    mask->mValue = false;
    mask->mIsConst = true;
    title->mValue = S("other");
    fixed->mIsConst = false;
    fixed->mValue = 9;

    set.RestoreDeclared();
    EXPECT_EQ(tempo->mValue, 120);
    EXPECT_EQ(tempo->mMin, 25);
    EXPECT_EQ(tempo->mMax, 900);
    EXPECT_EQ(gain->mValue, 0.5f);
    EXPECT_EQ(gain->mMax, 2.0f);
    EXPECT_EQ(style->GetValue(), S("Natural"));
    EXPECT_EQ(style->GetEnumType()->GetValues(), QStringList({S("Natural"), S("Continuous"), S("Staccato")}));
    EXPECT_TRUE(mask->mValue);
    EXPECT_FALSE(mask->mIsConst);
    EXPECT_EQ(title->GetValue(), S("tune"));
    EXPECT_EQ(fixed->mValue, 3);
    EXPECT_TRUE(fixed->mIsConst);

    // Each value as the file writes it, and back.
    const struct
    {
        const char* name;
        const char* text;
    } values[] = {{"Tempo", "120"}, {"Gain", "0.5"}, {"Style", "Natural"}, {"Mask", "true"}, {"Title", "tune"}};
    for (const auto& value : values) {
        CParameter* parameter = set.GetParameter(S(value.name));
        EXPECT_EQ(ParameterValue::Text(parameter, ParameterValue::Of(parameter)), S(value.text)) << value.name;
        EXPECT_EQ(ParameterValue::Of(parameter), ParameterValue::DeclaredOf(parameter)) << value.name;
    }
    ParameterValue::Set(tempo, QVariant(int(77)));
    ParameterValue::Set(tempo, QVariant(S("text"))); // of another kind: ignored
    ParameterValue::Set(style, QVariant(S("Continuous")));
    EXPECT_EQ(tempo->mValue, 77);
    EXPECT_EQ(style->GetValue(), S("Continuous"));
}
