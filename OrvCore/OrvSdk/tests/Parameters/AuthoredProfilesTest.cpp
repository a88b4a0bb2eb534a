#include "ParameterTestUtil.h"
#include "Parameters/CProfile.h"

#include <QDir>
#include <QSet>
#include <gtest/gtest.h>

#include <memory>
#include <vector>

using namespace ParameterTest;

namespace {
struct ProfileKey
{
    QString name;
    int type;
};

// Every key that the library and the converters read from a profile.
QList<ProfileKey> EveryProfileKey()
{
    const int B = CParameter::BOOL_TYPE, I = CParameter::INT_TYPE, F = CParameter::FLOAT_TYPE,
              T = CParameter::STRING_TYPE, E = CParameter::ENUM_TYPE;
    QList<ProfileKey> keys = {
        {S("MobileName"), T},
        {S("MobileType"), T},
        {S("MaxPictWidth"), I},
        {S("MaxPictHeight"), I},
        {S("NbMaxPictAnim"), I},
        {S("DefaultDisplayTime"), I},
        {S("DefaultPictWidth0"), I},
        {S("DefaultPictHeight0"), I},
        {S("DisplayType"), E},
        {S("TransparencyCompatible"), B},
        {S("MaxMediaSize"), I},
        {S("BuzzerNaturalCompatible"), B},
        {S("BuzzerContinuousCompatible"), B},
        {S("BuzzerStaccatoCompatible"), B},
        {S("BuzzerDefaultStyle"), E},
        {S("BuzzerUseDefaultStyle"), B},
        {S("MinBpmBuzzer"), I},
        {S("MaxBpmBuzzer"), I},
        {S("BuzzerBandWidthLowNote"), I},
        {S("BuzzerBandWidthHighNote"), I},
        {S("BrimselOneLineMelodies"), B},
        {S("IMelodyEncoding"), E},
        {S("IMelodyCompatible"), B},
        {S("IBrimselCompatible"), B},
        {S("BrimselPictureCompatible"), B},
        {S("BrimselAnimationCompatible"), B},
        {S("EMSANIMATION"), B},
        {S("EMS4Compatible"), B},
        {S("TDDCompatible"), B},
        {S("MISCCompatible"), B},
        {S("VOXCompatible"), B},
        {S("ODICopyrightCompatible"), B},
        {S("DSPWidthLowBand"), I},
        {S("DSPWidthHighBand"), I},
        {S("PolyphonyCapacity"), I},
        {S("GlobalCurrentPolyphony"), F},
        {S("MaxGlobalPolyphony"), F},
        {S("DSPPower"), F},
        {S("GlobalCurrentCpu"), F},
        {S("MaxGlobalCpu"), F},
        {S("RamCapacity"), I},
        {S("GlobalCurrentRam"), F},
        {S("MaxGlobalRam"), F},
        {S("BassMuteOn"), I},
        {S("BassMuteOff"), I},
    };
    for (int k = 0; k <= 16; ++k) {
        for (const char* prefix : {"Release", "Polyphony", "Cpu", "Ram"})
            keys.append({S(prefix) + QString::number(k), F});
    }
    for (const char* vocoder : {"gsm_fr", "gsm_efr", "gsm_hr", "gsm_amr_475", "gsm_amr_515", "gsm_amr_59", "gsm_amr_67",
                                "gsm_amr_74", "gsm_amr_795", "gsm_amr_102", "gsm_amr_122"})
        keys.append({S(vocoder) + S("VocoderCompatible"), B});
    return keys;
}

QStringList ProfileFiles()
{
    QDir folder(S(ORV_SOURCE_DIR) + S("/data/app/Profiles"));
    QStringList files = folder.entryList({S("*.xml"), S("*.XML")}, QDir::Files, QDir::Name | QDir::IgnoreCase);
    for (QString& file : files)
        file = folder.filePath(file);
    return files;
}

class AuthoredProfiles : public ::testing::Test
{
protected:
    void SetUp() override
    {
        for (const QString& file : ProfileFiles()) {
            auto profile = std::make_unique<CProfile>();
            ASSERT_TRUE(profile->Load(file)) << file.toStdString();
            mProfiles.push_back(std::move(profile));
        }
    }
    std::vector<std::unique_ptr<CProfile>> mProfiles;
};
} // namespace

TEST_F(AuthoredProfiles, AtLeastThreeLoad)
{
    EXPECT_GE(mProfiles.size(), 3u);
}

TEST_F(AuthoredProfiles, EachDeclaresEveryKeyWithItsType)
{
    const QList<ProfileKey> keys = EveryProfileKey();
    for (const auto& profile : mProfiles) {
        for (const ProfileKey& key : keys) {
            const CParameter* parameter = profile->GetParameter(key.name);
            ASSERT_NE(parameter, nullptr) << profile->GetMobileName().toStdString() << " " << key.name.toStdString();
            EXPECT_EQ(parameter->mType, key.type)
                << profile->GetMobileName().toStdString() << " " << key.name.toStdString();
        }
    }
}

TEST_F(AuthoredProfiles, LimitsAreConsistent)
{
    MessageCapture catcher;
    for (const auto& profile : mProfiles) {
        const std::string name = profile->GetMobileName().toStdString();
        EXPECT_FALSE(profile->GetMobileName().isEmpty());
        EXPECT_FALSE(profile->GetMobileType().isEmpty());
        const QSize maximum = profile->GetMaxPictSize();
        EXPECT_GT(maximum.width(), 0) << name;
        EXPECT_GT(maximum.height(), 0) << name;
        EXPECT_GT(profile->GetNbMaxPictAnim(), 0) << name;
        EXPECT_GT(profile->GetDefaultDisplayTime(), 0) << name;
        EXPECT_GT(profile->GetMaxMediaSize(), 0) << name;
        const QList<QSize> sizes = profile->GetDefaultPictSizes();
        EXPECT_FALSE(sizes.isEmpty()) << name;
        for (const QSize& size : sizes) {
            EXPECT_LE(size.width(), maximum.width()) << name;
            EXPECT_LE(size.height(), maximum.height()) << name;
        }
        EXPECT_LT(profile->GetIntParameter(S("MinBpmBuzzer"))->mValue,
                  profile->GetIntParameter(S("MaxBpmBuzzer"))->mValue)
            << name;
        EXPECT_GE(profile->GetIntParameter(S("BuzzerBandWidthHighNote"))->mValue
                      - profile->GetIntParameter(S("BuzzerBandWidthLowNote"))->mValue,
                  12)
            << name;
        EXPECT_LT(profile->GetIntParameter(S("DSPWidthLowBand"))->mValue,
                  profile->GetIntParameter(S("DSPWidthHighBand"))->mValue)
            << name;
        // Its own default style is one it supports.
        profile->GetBuzzerStyle(QString());
    }
    EXPECT_TRUE(catcher.Checks().isEmpty());
}

TEST_F(AuthoredProfiles, ProfilesDifferFromEachOther)
{
    QSet<QString> names;
    QSet<int> mediaSizes;
    QSet<int> frameCounts;
    QSet<int> widths;
    QSet<QString> stacattoAnswers;
    for (const auto& profile : mProfiles) {
        names.insert(profile->GetMobileName());
        mediaSizes.insert(profile->GetMaxMediaSize());
        frameCounts.insert(profile->GetNbMaxPictAnim());
        widths.insert(profile->GetMaxPictSize().width());
        stacattoAnswers.insert(profile->GetBuzzerStyle(S("Staccato")) + profile->GetBuzzerStyle(S("Natural")));
    }
    const int count = int(mProfiles.size());
    EXPECT_EQ(names.size(), count);
    EXPECT_EQ(mediaSizes.size(), count);
    EXPECT_EQ(frameCounts.size(), count);
    EXPECT_EQ(widths.size(), count);
    EXPECT_EQ(stacattoAnswers.size(), count);
}

TEST_F(AuthoredProfiles, EveryFormatIsTakenBySomePhoneAndRefusedBySome)
{
    for (const char* key :
         {"IMelodyCompatible", "IBrimselCompatible", "BrimselPictureCompatible", "EMSANIMATION", "EMS4Compatible",
          "TDDCompatible", "MISCCompatible", "VOXCompatible", "ODICopyrightCompatible", "gsm_hrVocoderCompatible"}) {
        int yes = 0;
        for (const auto& profile : mProfiles)
            yes += profile->GetBoolParameter(S(key))->mValue ? 1 : 0;
        EXPECT_GT(yes, 0) << key;
        if (std::string(key) != "IMelodyCompatible") {
            EXPECT_LT(yes, int(mProfiles.size())) << key;
        }
    }
}

TEST_F(AuthoredProfiles, SpeechPhonesHaveAVocoder)
{
    for (const auto& profile : mProfiles) {
        if (!profile->GetBoolParameter(S("VOXCompatible"))->mValue)
            continue;
        bool any = false;
        for (const char* vocoder : {"gsm_hr", "gsm_amr_475", "gsm_amr_122"})
            any = any || profile->GetBoolParameter(S(vocoder) + S("VocoderCompatible"))->mValue;
        EXPECT_TRUE(any) << profile->GetMobileName().toStdString();
    }
}
