#include "Parameters/CProfile.h"
#include "ParameterTestUtil.h"
#include "Text/CLanguageResources.h"

#include <QMap>
#include <gtest/gtest.h>

using namespace ParameterTest;

namespace {
struct Key
{
    QByteArray type;
    QByteArray value;
};

// A profile with every key the library reads without fallback.
QMap<QByteArray, Key> CompleteKeys()
{
    return {
        {"MobileName", {"string", "Test phone"}},
        {"MobileType", {"string", "T1"}},
        {"MaxPictWidth", {"int", "101"}},
        {"MaxPictHeight", {"int", "80"}},
        {"DefaultDisplayTime", {"int", "250"}},
        {"MaxMediaSize", {"int", "2048"}},
        {"NbMaxPictAnim", {"int", "8"}},
        {"BuzzerNaturalCompatible", {"bool", "true"}},
        {"BuzzerContinuousCompatible", {"bool", "true"}},
        {"BuzzerStaccatoCompatible", {"bool", "false"}},
        {"BuzzerDefaultStyle", {"Styles", "Natural"}},
        {"MinBpmBuzzer", {"int", "40"}},
        {"MaxBpmBuzzer", {"int", "200"}},
        {"BuzzerBandWidthLowNote", {"int", "60"}},
        {"BuzzerBandWidthHighNote", {"int", "95"}},
        {"BrimselOneLineMelodies", {"bool", "false"}},
    };
}

QByteArray ProfileText(const QMap<QByteArray, Key>& keys)
{
    QByteArray data;
    for (auto it = keys.cbegin(); it != keys.cend(); ++it)
        data += "<DATA NAME=\"" + it.key() + "\" TYPE=\"" + it.value().type + "\" VALUE=\"" + it.value().value + "\"/>";
    return WithParameters(data);
}

class Profile : public ::testing::Test
{
protected:
    // Why a profile is refused comes from the shipped language file.
    void SetUp() override
    {
        ASSERT_TRUE(CLanguageResources::Load(S(ORV_SOURCE_DIR "/data/app/Languages/English.xml")));
    }
    void TearDown() override { CLanguageResources::Load(QString()); }
    bool LoadKeys(const QMap<QByteArray, Key>& keys) { return mProfile.Load(mFiles.Write(ProfileText(keys))); }
    TempFiles mFiles;
    CProfile mProfile;
};
} // namespace

TEST_F(Profile, AccessorsReadTheirKeys)
{
    ASSERT_TRUE(LoadKeys(CompleteKeys()));
    EXPECT_EQ(mProfile.GetMobileName(), S("Test phone"));
    EXPECT_EQ(mProfile.GetMobileType(), S("T1"));
    EXPECT_EQ(mProfile.GetMaxPictSize(), QSize(101, 80));
    EXPECT_EQ(mProfile.GetDefaultDisplayTime(), 250);
    EXPECT_EQ(mProfile.GetMaxMediaSize(), 2048);
    EXPECT_EQ(mProfile.GetNbMaxPictAnim(), 8);
    EXPECT_TRUE(mProfile.GetDefaultPictSizes().isEmpty());
    EXPECT_TRUE(mProfile.FindMissingRequiredKey().isEmpty());
}

TEST_F(Profile, NamesFallBackToEmptyTexts)
{
    QMap<QByteArray, Key> keys = CompleteKeys();
    keys.remove("MobileName");
    keys.remove("MobileType");
    ASSERT_TRUE(LoadKeys(keys));
    EXPECT_TRUE(mProfile.GetMobileName().isEmpty());
    EXPECT_TRUE(mProfile.GetMobileType().isEmpty());
}

TEST_F(Profile, MissingOrMistypedRequiredKeyIsRefusedWithADebugLine)
{
    const QMap<QByteArray, Key> complete = CompleteKeys();
    for (auto it = complete.cbegin(); it != complete.cend(); ++it) {
        if (it.key().startsWith("Mobile"))
            continue;
        QMap<QByteArray, Key> missing = complete;
        missing.remove(it.key());
        MessageCapture catcher;
        EXPECT_FALSE(LoadKeys(missing)) << it.key().constData();
        EXPECT_TRUE(mProfile.IsEmpty());
        ASSERT_EQ(catcher.Messages().size(), 1);
        EXPECT_TRUE(catcher.Messages().first().contains(S("\"") + QString::fromLatin1(it.key()) + S("\"")))
            << catcher.Messages().first().toStdString();

        QMap<QByteArray, Key> mistyped = complete;
        mistyped[it.key()] = Key{"string", "1"};
        EXPECT_FALSE(LoadKeys(mistyped)) << it.key().constData();
    }
    // The accessors of a refused profile stay safe.
    EXPECT_EQ(mProfile.GetMaxPictSize(), QSize(0, 0));
    EXPECT_EQ(mProfile.GetMaxMediaSize(), 0);
    EXPECT_TRUE(mProfile.GetBuzzerStyle(S("Natural")).isEmpty());
}

TEST_F(Profile, DefaultPictureSizesStopAtTheFirstGap)
{
    struct Case
    {
        const char* what;
        QList<QByteArray> pairs;
        QList<QSize> expected;
    };
    const Case cases[] = {
        {"0, 1 and 3", {"0", "1", "3"}, {QSize(10, 20), QSize(11, 21)}},
        {"only 1", {"1"}, {}},
        {"0 to 2", {"0", "1", "2"}, {QSize(10, 20), QSize(11, 21), QSize(12, 22)}},
    };
    for (const Case& c : cases) {
        QMap<QByteArray, Key> keys = CompleteKeys();
        for (const QByteArray& n : c.pairs) {
            keys["DefaultPictWidth" + n] = Key{"int", QByteArray::number(10 + n.toInt())};
            keys["DefaultPictHeight" + n] = Key{"int", QByteArray::number(20 + n.toInt())};
        }
        ASSERT_TRUE(LoadKeys(keys)) << c.what;
        EXPECT_EQ(mProfile.GetDefaultPictSizes(), c.expected) << c.what;
    }

    // A width without its height, or a height of another type, ends the list.
    QMap<QByteArray, Key> keys = CompleteKeys();
    keys["DefaultPictWidth0"] = Key{"int", "10"};
    keys["DefaultPictHeight0"] = Key{"int", "20"};
    keys["DefaultPictWidth1"] = Key{"int", "11"};
    keys["DefaultPictWidth2"] = Key{"int", "12"};
    keys["DefaultPictHeight2"] = Key{"string", "22"};
    ASSERT_TRUE(LoadKeys(keys));
    MessageCapture catcher;
    EXPECT_EQ(mProfile.GetDefaultPictSizes(), QList<QSize>({QSize(10, 20)}));
    EXPECT_TRUE(catcher.Checks().isEmpty());
}

TEST_F(Profile, BuzzerStyleFallsBackToTheDefault)
{
    QMap<QByteArray, Key> keys = CompleteKeys(); // Staccato unsupported, default Natural
    ASSERT_TRUE(LoadKeys(keys));
    MessageCapture catcher;
    EXPECT_EQ(mProfile.GetBuzzerStyle(S("Staccato")), S("Natural"));
    EXPECT_EQ(mProfile.GetBuzzerStyle(S("Continuous")), S("Continuous"));
    EXPECT_EQ(mProfile.GetBuzzerStyle(S("natural")), S("Natural"));
    EXPECT_EQ(mProfile.GetBuzzerStyle(QString()), S("Natural"));
    EXPECT_EQ(CProfile::GetBuzzerStyle(&mProfile, S("Staccato")), S("Natural"));
    EXPECT_TRUE(CProfile::GetBuzzerStyle(nullptr, S("Staccato")).isEmpty());
    EXPECT_TRUE(catcher.Checks().isEmpty());

    keys["BuzzerStaccatoCompatible"] = Key{"bool", "true"};
    ASSERT_TRUE(LoadKeys(keys));
    EXPECT_EQ(CProfile::GetBuzzerStyle(&mProfile, S("Staccato")), S("Staccato"));
}

TEST_F(Profile, UnsupportedDefaultStyleWarnsAndIsStillReturned)
{
    QMap<QByteArray, Key> keys = CompleteKeys();
    keys["BuzzerNaturalCompatible"] = Key{"bool", "false"};
    ASSERT_TRUE(LoadKeys(keys));
    MessageCapture catcher;
    EXPECT_EQ(mProfile.GetBuzzerStyle(S("Staccato")), S("Natural"));
    EXPECT_EQ(catcher.Checks(), QStringList({S("bDefaultStyleSupported")}));
    EXPECT_EQ(mProfile.GetBuzzerStyle(S("Continuous")), S("Continuous"));
    EXPECT_EQ(catcher.Checks().size(), 1);
}

TEST_F(Profile, ConverterKeysAreOrdinaryParameters)
{
    QMap<QByteArray, Key> keys = CompleteKeys();
    keys["IMelodyCompatible"] = Key{"bool", "true"};
    keys["IMelodyEncoding"] = Key{"Encodings", "GSM7"};
    keys["Release4"] = Key{"float", "120.5"};
    ASSERT_TRUE(LoadKeys(keys));
    EXPECT_TRUE(mProfile.GetBoolParameter(S("IMelodyCompatible"))->mValue);
    EXPECT_EQ(mProfile.GetEnumParameter(S("IMelodyEncoding"))->GetValue(), S("GSM7"));
    EXPECT_FLOAT_EQ(mProfile.GetFloatParameter(S("Release4"))->mValue, 120.5f);
    EXPECT_EQ(mProfile.GetBoolParameter(S("VOXCompatible")), nullptr);
}

TEST_F(Profile, UnreadableFileIsRefused)
{
    EXPECT_FALSE(mProfile.Load(mFiles.Write("<Profile><TSECTION>")));
    EXPECT_FALSE(mProfile.Load(mFiles.Path("missing.xml")));
    EXPECT_TRUE(mProfile.GetMobileName().isEmpty());
}

// A whole-number key whose text is no whole number of 32 bits refuses the profile, naming the key and the value,
// rather than reading as 0 (a phone of polyphony 0, a tempo range of 40 to 0).
TEST_F(Profile, WholeNumberKeysThatAreNoWholeNumberRefuseTheProfile)
{
    ASSERT_TRUE(CLanguageResources::Load(S(ORV_SOURCE_DIR "/data/app/Languages/English.xml")));
    const QByteArray digits(100000, '7');
    const struct
    {
        QByteArray value;
        const char* quoted;
    } cases[] = {
        {"abc", "\"abc\""},
        {"", "\"\""},
        {"nan", "\"nan\""},
        {"1e30", "\"1e30\""},
        {"99999999999", "\"99999999999\""},
        {"0x10", "\"0x10\""},
        {"4.5", "\"4.5\""},
        {digits, "\"7777777777777777777777777777777777777777...\" (100000 characters)"},
    };
    for (const char* key : {"PolyphonyCapacity", "MaxBpmBuzzer"}) {
        for (const auto& c : cases) {
            QMap<QByteArray, Key> keys = CompleteKeys();
            keys[key] = Key{"int", c.value};
            EXPECT_FALSE(LoadKeys(keys)) << key << " = " << c.quoted;
            EXPECT_EQ(mProfile.GetLoadError(),
                      S("the DATA element \"%1\" has the VALUE %2, which is not a whole number "
                        "from -2147483648 to 2147483647")
                          .arg(QLatin1String(key), QLatin1String(c.quoted)));
        }
    }
    CLanguageResources::Load(QString());
}
