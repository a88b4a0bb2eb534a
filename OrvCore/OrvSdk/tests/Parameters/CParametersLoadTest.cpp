#include "ParameterTestUtil.h"
#include "Parameters/CParameters.h"
#include "QtPrinters.h"
#include "Text/CLanguageResources.h"

#include <cfloat>
#include <climits>
#include <gtest/gtest.h>

using namespace ParameterTest;

namespace {
class ParametersLoad : public ::testing::Test
{
protected:
    // The reasons of a refusal are texts of the language file.
    void SetUp() override
    {
        ASSERT_TRUE(CLanguageResources::Load(S(ORV_SOURCE_DIR "/data/app/Languages/English.xml")));
    }
    void TearDown() override { CLanguageResources::Load(QString()); }
    bool LoadText(const QByteArray& content) { return mSet.Load(mFiles.Write(content)); }
    TempFiles mFiles;
    CParameters mSet;
};
} // namespace

TEST(ParametersFixture, ReadsEveryKindOfParameter)
{
    CParameters set;
    ASSERT_TRUE(set.Load(FixturePath("Converter.xml")));
    EXPECT_FALSE(set.IsEmpty());
    EXPECT_EQ(set.GetParameterMap().size(), 11);
    EXPECT_EQ(set.GetBaseTypes(), QStringList({S("Boolean"), S("Integer"), S("Float"), S("Text")}));
    ASSERT_EQ(set.GetEnumTypes().size(), 2);
    EXPECT_EQ(set.GetEnumTypes().at(0)->GetName(), S("Styles"));
    EXPECT_EQ(set.GetEnumTypes().at(0)->GetValues(), QStringList({S("Natural"), S("Continuous"), S("Staccato")}));

    CBoolParameter* debug = set.GetBoolParameter(S("GenerateDebugFiles"));
    ASSERT_NE(debug, nullptr);
    EXPECT_FALSE(debug->mValue);
    EXPECT_EQ(debug->mType, CParameter::BOOL_TYPE);

    CIntParameter* tempo = set.GetIntParameter(S("Tempo"));
    ASSERT_NE(tempo, nullptr);
    EXPECT_EQ(tempo->mValue, 63);
    EXPECT_EQ(tempo->mDefault, 63);
    EXPECT_EQ(tempo->mMin, 25);
    EXPECT_EQ(tempo->mMax, 900);
    EXPECT_FALSE(tempo->mIsConst);

    CFloatParameter* gain = set.GetFloatParameter(S("Gain"));
    ASSERT_NE(gain, nullptr);
    EXPECT_EQ(gain->mValue, 1.5f);
    EXPECT_EQ(gain->mMin, 1.5f); // limits are inclusive
    EXPECT_EQ(gain->mMax, 4.0f);

    CStringParameter* title = set.GetStringParameter(S("Title"));
    ASSERT_NE(title, nullptr);
    EXPECT_EQ(title->GetValue(), S("Untitled tune"));
    EXPECT_EQ(title->GetDefaultValue(), S("Untitled tune"));

    CEnumParameter* style = set.GetEnumParameter(S("Style"));
    ASSERT_NE(style, nullptr);
    EXPECT_EQ(style->GetValue(), S("Continuous"));
    EXPECT_EQ(style->GetEnumType(), set.GetEnumTypes().at(0));

    CEnumParameter* mask = set.GetEnumParameter(S("Mask"));
    ASSERT_NE(mask, nullptr);
    EXPECT_TRUE(mask->mIsConst);
    EXPECT_TRUE(mask->mIsDeclaredConst);
    EXPECT_TRUE(set.GetIntParameter(S("Locked"))->mIsConst);
}

TEST(ParametersFixture, VectorsKeepFileOrderAndShareTheSetsParameters)
{
    CParameters set;
    ASSERT_TRUE(set.Load(FixturePath("Converter.xml")));
    ASSERT_EQ(set.GetVectors().size(), 2);
    EXPECT_EQ(set.GetVectors().at(0)->GetName(), S("Piano"));
    EXPECT_EQ(set.GetVectors().at(1)->GetName(), S("Guitar"));
    CParameterVector* piano = set.GetVector(S("Piano"));
    ASSERT_NE(piano, nullptr);
    ASSERT_EQ(piano->GetParameters().size(), 2);
    EXPECT_EQ(piano->GetParameters().at(0), set.GetParameter(S("Keep0")));
    EXPECT_EQ(piano->GetParameters().at(1), set.GetParameter(S("Volume0")));
    EXPECT_EQ(set.GetVector(S("Drums")), nullptr);
    EXPECT_FLOAT_EQ(set.GetFloatParameter(S("Volume1"))->mValue, 0.25f);
}

TEST(ParametersFixture, TypedGetterOnAnotherTypeWarnsAndGivesNull)
{
    CParameters set;
    ASSERT_TRUE(set.Load(FixturePath("Converter.xml")));
    MessageCapture catcher;
    EXPECT_EQ(set.GetIntParameter(S("Title")), nullptr);
    EXPECT_EQ(set.GetBoolParameter(S("Tempo")), nullptr);
    EXPECT_EQ(set.GetEnumParameter(S("Gain")), nullptr);
    EXPECT_EQ(catcher.Checks(), QStringList({S("0"), S("0"), S("0")}));
    // Absence is no fault: no warning, and nothing is created.
    EXPECT_EQ(set.GetIntParameter(S("Missing")), nullptr);
    EXPECT_EQ(set.GetParameter(S("Missing")), nullptr);
    EXPECT_EQ(catcher.Checks().size(), 3);
    EXPECT_EQ(set.GetParameterMap().size(), 11);
}

TEST(ParametersFixture, FindType)
{
    CParameters set;
    ASSERT_TRUE(set.Load(FixturePath("Converter.xml")));
    bool isEnum = true;
    int index = -1;
    EXPECT_TRUE(set.FindType(S("Float"), &isEnum, &index));
    EXPECT_FALSE(isEnum);
    EXPECT_EQ(index, 2);
    EXPECT_TRUE(set.FindType(S("Switch"), &isEnum, &index));
    EXPECT_TRUE(isEnum);
    EXPECT_EQ(index, 1);
    EXPECT_TRUE(set.FindType(S("Boolean"), nullptr, nullptr));
    EXPECT_FALSE(set.FindType(S("float"), &isEnum, &index));
}

TEST_F(ParametersLoad, TypeCodesComeFromTypePositionsNotNames)
{
    ASSERT_TRUE(LoadText(Document(
        "<TSECTION><TYPE NAME=\"zebra\"/><TYPE NAME=\"yak\"/><TYPE NAME=\"xerus\"/><TYPE NAME=\"wolf\"/></TSECTION>",
        "<PSECTION><DATA NAME=\"n\" TYPE=\"yak\" VALUE=\"12\"/><DATA NAME=\"b\" TYPE=\"zebra\" VALUE=\"true\"/></PSECTION>")));
    ASSERT_NE(mSet.GetIntParameter(S("n")), nullptr);
    EXPECT_EQ(mSet.GetIntParameter(S("n"))->mValue, 12);
    EXPECT_TRUE(mSet.GetBoolParameter(S("b"))->mValue);
}

TEST_F(ParametersLoad, FifthBaseTypeReadsAsTextAfterAWarning)
{
    MessageCapture catcher;
    ASSERT_TRUE(LoadText(Document(
        "<TSECTION><TYPE NAME=\"b\"/><TYPE NAME=\"i\"/><TYPE NAME=\"f\"/><TYPE NAME=\"s\"/><TYPE NAME=\"extra\"/></TSECTION>",
        "<PSECTION><DATA NAME=\"x\" TYPE=\"extra\" VALUE=\"42\"/></PSECTION>")));
    EXPECT_EQ(catcher.Checks(), QStringList({S("(0)")}));
    ASSERT_NE(mSet.GetStringParameter(S("x")), nullptr);
    EXPECT_EQ(mSet.GetStringParameter(S("x"))->GetValue(), S("42"));
}

TEST_F(ParametersLoad, IntegerLimits)
{
    struct Case
    {
        const char* attributes;
        bool loads;
        int value;
    };
    const Case cases[] = {
        {"VALUE=\"5\" MIN=\"0\" MAX=\"4\"", false, 0},
        {"VALUE=\"4\" MIN=\"0\" MAX=\"4\"", true, 4},
        {"VALUE=\"0\" MIN=\"0\" MAX=\"4\"", true, 0},
        {"VALUE=\"-1\" MIN=\"0\" MAX=\"4\"", false, 0},
        {"VALUE=\"2147483647\"", true, INT_MAX},
        {"VALUE=\"-2147483648\"", true, INT_MIN},
        // A text that is no whole number of 32 bits refuses the file rather than reading as 0.
        {"VALUE=\"2147483648\"", false, 0},
        {"VALUE=\"12abc\"", false, 0},
        {"VALUE=\"7\" MIN=\"abc\" MAX=\"10\"", false, 0},
        {"VALUE=\"7\" MIN=\"0\" MAX=\"1e3\"", false, 0},
        {"VALUE=\"+7\" MIN=\"-8\"", true, 7},
        {"VALUE=\"7\" MIN=\"8\" MAX=\"6\"", false, 0},
        {"MIN=\"0\"", false, 0},
    };
    for (const Case& c : cases) {
        const QByteArray data = QByteArray("<DATA NAME=\"n\" TYPE=\"int\" ") + c.attributes + "/>";
        EXPECT_EQ(LoadText(WithParameters(data)), c.loads) << c.attributes;
        if (c.loads && mSet.GetIntParameter(S("n"))) {
            EXPECT_EQ(mSet.GetIntParameter(S("n"))->mValue, c.value) << c.attributes;
        }
    }
    ASSERT_TRUE(LoadText(WithParameters("<DATA NAME=\"n\" TYPE=\"int\" VALUE=\"1\"/>")));
    EXPECT_EQ(mSet.GetIntParameter(S("n"))->mMin, INT_MIN);
    EXPECT_EQ(mSet.GetIntParameter(S("n"))->mMax, INT_MAX);
}

TEST_F(ParametersLoad, FloatLimits)
{
    struct Case
    {
        const char* attributes;
        bool loads;
        float value;
    };
    const Case cases[] = {
        {"VALUE=\"1.5\" MIN=\"1.5\" MAX=\"2\"", true, 1.5f},
        {"VALUE=\"2\" MIN=\"1.5\" MAX=\"2\"", true, 2.0f},
        {"VALUE=\"1.49\" MIN=\"1.5\" MAX=\"2\"", false, 0},
        {"VALUE=\"2.5e-3\"", true, 0.0025f},
        {"VALUE=\"-3.40282347e+38\"", true, -FLT_MAX}, // the written form of the largest float
        {"VALUE=\"3.40282347e+38\" MAX=\"3.40282347e+38\"", true, FLT_MAX},
        {"VALUE=\"nan\"", false, 0},
        {"VALUE=\"1.5\" MIN=\"nan\"", false, 0},
        {"VALUE=\"1e39\"", true, 0.0f}, // beyond a float: does not convert
        {"VALUE=\"1,5\"", true, 0.0f},
        {"MAX=\"1\"", false, 0},
    };
    for (const Case& c : cases) {
        const QByteArray data = QByteArray("<DATA NAME=\"f\" TYPE=\"float\" ") + c.attributes + "/>";
        EXPECT_EQ(LoadText(WithParameters(data)), c.loads) << c.attributes;
        if (c.loads && mSet.GetFloatParameter(S("f"))) {
            EXPECT_FLOAT_EQ(mSet.GetFloatParameter(S("f"))->mValue, c.value) << c.attributes;
        }
    }
    ASSERT_TRUE(LoadText(WithParameters("<DATA NAME=\"f\" TYPE=\"float\" VALUE=\"1\"/>")));
    EXPECT_EQ(mSet.GetFloatParameter(S("f"))->mMin, -FLT_MAX);
    EXPECT_EQ(mSet.GetFloatParameter(S("f"))->mMax, FLT_MAX);
}

TEST_F(ParametersLoad, BooleanTextsAndConstFlag)
{
    struct Case
    {
        const char* attributes;
        bool value;
        bool constant;
    };
    const Case cases[] = {
        {"VALUE=\"true\"", true, false},
        {"VALUE=\"True\"", false, false},
        {"VALUE=\"1\"", false, false},
        {"VALUE=\"\"", false, false},
        {"VALUE=\"true\" CONST=\"yes\"", true, true},
        {"VALUE=\"true\" CONST=\"YES\"", true, false},
        {"VALUE=\"true\" CONST=\"no\"", true, false},
    };
    for (const Case& c : cases) {
        const QByteArray data = QByteArray("<DATA NAME=\"b\" TYPE=\"bool\" ") + c.attributes + "/>";
        ASSERT_TRUE(LoadText(WithParameters(data))) << c.attributes;
        CBoolParameter* parameter = mSet.GetBoolParameter(S("b"));
        ASSERT_NE(parameter, nullptr);
        EXPECT_EQ(parameter->mValue, c.value) << c.attributes;
        EXPECT_EQ(parameter->mIsConst, c.constant) << c.attributes;
        EXPECT_EQ(parameter->mIsDeclaredConst, c.constant) << c.attributes;
    }
}

TEST_F(ParametersLoad, EnumeratedValuesMustBeDeclared)
{
    ASSERT_TRUE(LoadText(WithParameters("<DATA NAME=\"s\" TYPE=\"Styles\" VALUE=\"Staccato\"/>")));
    EXPECT_EQ(mSet.GetEnumTypes().at(0)->GetValues().size(), 3);
    EXPECT_EQ(mSet.GetEnumParameter(S("s"))->GetValue(), S("Staccato"));
    EXPECT_FALSE(LoadText(WithParameters("<DATA NAME=\"s\" TYPE=\"Styles\" VALUE=\"Legato\"/>")));
    EXPECT_FALSE(LoadText(WithParameters("<DATA NAME=\"s\" TYPE=\"Styles\" VALUE=\"staccato\"/>")));
    EXPECT_FALSE(LoadText(WithParameters("<DATA NAME=\"s\" TYPE=\"Styles\" VALUE=\"\"/>")));
    EXPECT_FALSE(LoadText(WithParameters("<DATA NAME=\"s\" TYPE=\"Styles\"/>")));
}

// Each refusal names the element it refused and why.
TEST_F(ParametersLoad, MalformedFilesAreRefused)
{
    struct Case
    {
        const char* what;
        QByteArray content;
        const char* reason;
    };
    const QByteArray isection = "<ISECTION/>";
    const Case cases[] = {
        {"not well-formed", "<Root><TSECTION></Root>", "is not a well-formed XML file"},
        {"empty file", "", "is not a well-formed XML file"},
        {"no TSECTION", Document("", "<PSECTION/>"), "its root has no TSECTION element"},
        {"TSECTION not a child of the root", Document("<Wrap>" + QByteArray(kTypes) + "</Wrap>", "<PSECTION/>"),
         "its root has no TSECTION element"},
        {"ENUM without VALUES", Document("<TSECTION><TYPE NAME=\"b\"/><ENUM NAME=\"e\"/></TSECTION>", ""),
         "the ENUM element \"e\" has no VALUES"},
        {"ENUM without NAME", Document("<TSECTION><ENUM VALUES=\"a b\"/></TSECTION>", ""),
         "an ENUM element has no NAME"},
        {"TYPE without NAME", Document("<TSECTION><TYPE/><TYPE NAME=\"i\"/></TSECTION>", ""),
         "a TYPE element has no NAME"},
        {"unknown TYPE", WithParameters("<DATA NAME=\"x\" TYPE=\"double\" VALUE=\"1\"/>"),
         "the DATA element \"x\" has the TYPE \"double\", which the TSECTION does not declare"},
        {"DATA without TYPE", WithParameters("<DATA NAME=\"x\" VALUE=\"1\"/>"), "the DATA element \"x\" has no TYPE"},
        {"bool without VALUE", WithParameters("<DATA NAME=\"x\" TYPE=\"bool\"/>"),
         "the DATA element \"x\" has no VALUE"},
        {"text without VALUE", WithParameters("<DATA NAME=\"x\" TYPE=\"string\"/>"),
         "the DATA element \"x\" has no VALUE"},
        {"bad DATA in a VECTOR",
         WithParameters("<VECTOR NAME=\"v\"><DATA NAME=\"x\" TYPE=\"int\" VALUE=\"9\" MAX=\"1\"/></VECTOR>"),
         "the DATA element \"x\" has the VALUE \"9\", outside its MIN -2147483648 and MAX 1"},
        {"a float that is no number", WithParameters("<DATA NAME=\"DSPPower\" TYPE=\"float\" VALUE=\"nan\"/>"),
         "the DATA element \"DSPPower\" has the VALUE \"nan\", which is not a number from its MIN -3.40282e+38 to its "
         "MAX 3.40282e+38"},
        {"an undeclared value", WithParameters("<DATA NAME=\"s\" TYPE=\"Styles\" VALUE=\"Legato\"/>"),
         "the DATA element \"s\" has the VALUE \"Legato\", which is not one of the values of the ENUM \"Styles\""},
        {"no ISECTION", Document(kTypes, "<PSECTION/>", ""), "its root has no ISECTION element"},
        {"ISECTION not a child of the root", Document(kTypes, "<PSECTION><ISECTION/></PSECTION>", ""),
         "its root has no ISECTION element"},
        {"unknown ISECTION child", WithParameters("", "<ISECTION><SLIDER/></ISECTION>"),
         "the ISECTION element \"SLIDER\" is not an INPUT, TABLE or GROUP element"},
        {"an INPUT for nothing", WithParameters("", "<ISECTION><INPUT REF=\"zz\" TYPE=\"EDIT\"/></ISECTION>"),
         "the INPUT element for \"zz\" names no DATA element"},
    };
    for (const Case& c : cases) {
        EXPECT_FALSE(LoadText(c.content)) << c.what;
        EXPECT_EQ(mSet.GetLoadError(), S(c.reason)) << c.what;
        mSet.ResetAll(); // whatever was read before the failure stays usable
    }
    ASSERT_TRUE(LoadText(WithParameters("<DATA NAME=\"n\" TYPE=\"int\" VALUE=\"1\"/>")));
    EXPECT_EQ(mSet.GetLoadError(), QString());
}

TEST_F(ParametersLoad, TheReasonsAreThoseOfTheLanguageFile)
{
    ASSERT_TRUE(CLanguageResources::Load(
        mFiles.Write("<Language><class name=\"CParameters\"><message>"
                     "<string id=\"id_no_tsection\" value=\"sans TSECTION\"/>"
                     "<string id=\"id_data_value_outside\" value=\"%1 vaut %2, hors de %3 .. %4\"/>"
                     "</message></class></Language>",
                     S("Other.xml"))));
    EXPECT_FALSE(LoadText(Document("", "<PSECTION/>")));
    EXPECT_EQ(mSet.GetLoadError(), S("sans TSECTION"));
    EXPECT_FALSE(LoadText(WithParameters("<DATA NAME=\"x\" TYPE=\"int\" VALUE=\"9\" MIN=\"0\" MAX=\"1\"/>")));
    EXPECT_EQ(mSet.GetLoadError(), S("\"x\" vaut \"9\", hors de 0 .. 1"));
}

TEST_F(ParametersLoad, WithoutPsectionTheRootsChildrenAreRead)
{
    ASSERT_TRUE(LoadText(Document(kTypes, "")));
    EXPECT_TRUE(mSet.IsEmpty());
    ASSERT_TRUE(LoadText(Document(kTypes, "<DATA NAME=\"top\" TYPE=\"int\" VALUE=\"3\"/>")));
    ASSERT_NE(mSet.GetIntParameter(S("top")), nullptr);
    // ...but such a file cannot be saved: its DATA is not under PSECTION.
    EXPECT_FALSE(mSet.Save(mFiles.Path("out.xml")));
}

TEST_F(ParametersLoad, DuplicateNamesKeepOneOwner)
{
    ASSERT_TRUE(
        LoadText(WithParameters("<DATA NAME=\"dup\" TYPE=\"int\" VALUE=\"1\"/>"
                                "<DATA NAME=\"dup\" TYPE=\"int\" VALUE=\"2\"/>"
                                "<DATA NAME=\"both\" TYPE=\"int\" VALUE=\"10\"/>"
                                "<VECTOR NAME=\"a\"><DATA NAME=\"both\" TYPE=\"int\" VALUE=\"20\"/>"
                                "<DATA NAME=\"shared\" TYPE=\"string\" VALUE=\"in a\"/></VECTOR>"
                                "<VECTOR NAME=\"b\"><DATA NAME=\"shared\" TYPE=\"string\" VALUE=\"in b\"/></VECTOR>")));
    // The first DATA in file order stays in the map.
    EXPECT_EQ(mSet.GetIntParameter(S("dup"))->mValue, 1);
    // A vector's DATA replaces a direct one of the same name.
    EXPECT_EQ(mSet.GetIntParameter(S("both"))->mValue, 20);
    EXPECT_EQ(mSet.GetStringParameter(S("shared"))->GetValue(), S("in a"));
    EXPECT_EQ(mSet.GetParameterMap().size(), 3);
    // Both vectors still hold live parameters of their own.
    CParameterVector* b = mSet.GetVector(S("b"));
    ASSERT_NE(b, nullptr);
    ASSERT_EQ(b->GetParameters().size(), 1);
    EXPECT_EQ(static_cast<CStringParameter*>(b->GetParameters().at(0))->GetValue(), S("in b"));
    EXPECT_EQ(mSet.GetVector(S("a"))->GetParameters().at(1), mSet.GetParameter(S("shared")));
    // Reloading and clearing release every one of them (the leak checker watches).
    ASSERT_TRUE(LoadText(WithParameters("<DATA NAME=\"dup\" TYPE=\"int\" VALUE=\"5\"/>")));
    EXPECT_EQ(mSet.GetIntParameter(S("dup"))->mValue, 5);
}

TEST_F(ParametersLoad, MissingNameGivesANullName)
{
    ASSERT_TRUE(LoadText(WithParameters("<DATA TYPE=\"int\" VALUE=\"4\"/>")));
    ASSERT_EQ(mSet.GetParameterMap().size(), 1);
    EXPECT_TRUE(mSet.GetParameterMap().first()->mName.isNull());
}

TEST_F(ParametersLoad, ReloadGivesExactlyTheNewFile)
{
    ASSERT_TRUE(mSet.Load(FixturePath("Converter.xml")));
    ASSERT_FALSE(mSet.GetInterfaceNodes().isEmpty());
    ASSERT_TRUE(LoadText(WithParameters("<DATA NAME=\"only\" TYPE=\"bool\" VALUE=\"true\"/>")));
    EXPECT_EQ(mSet.GetParameterMap().keys(), QStringList({S("only")}));
    EXPECT_TRUE(mSet.GetVectors().isEmpty());
    EXPECT_TRUE(mSet.GetInterfaceNodes().isEmpty());
    EXPECT_EQ(mSet.GetEnumTypes().size(), 2);
    EXPECT_EQ(mSet.GetBaseTypes().size(), 4);

    mSet.Clear();
    EXPECT_TRUE(mSet.IsEmpty());
    EXPECT_TRUE(mSet.GetBaseTypes().isEmpty());
    EXPECT_TRUE(mSet.GetEnumTypes().isEmpty());
}

TEST_F(ParametersLoad, MissingFileFails)
{
    EXPECT_FALSE(mSet.Load(mFiles.Path("missing.xml")));
    EXPECT_TRUE(mSet.IsEmpty());
    EXPECT_FALSE(mSet.Save(mFiles.Path("out.xml")));
}
