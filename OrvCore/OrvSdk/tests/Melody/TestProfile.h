#pragma once
// Phone profiles written by the tests themselves, with the melody keys chosen
// per test and every key the profile requires.
#include "Parameters/CProfile.h"

#include <QFile>
#include <QString>
#include <QTemporaryDir>
#include <memory>

struct ProfileValues
{
    int lowNote = 48;
    int highNote = 95;
    bool oneLine = false;
    int minBpm = 25;
    int maxBpm = 900;
    bool natural = true;
    bool continuous = true;
    bool staccato = true;
    const char* defaultStyle = "Natural";
};

inline std::unique_ptr<CProfile> MakeProfile(const ProfileValues& v = ProfileValues())
{
    auto boolText = [](bool b) { return b ? QStringLiteral("true") : QStringLiteral("false"); };
    const QString xml =
        QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<Profile><TSECTION>"
                       "<TYPE NAME=\"Boolean\"/><TYPE NAME=\"Integer\"/><TYPE NAME=\"Float\"/><TYPE NAME=\"String\"/>"
                       "<ENUM NAME=\"BuzzerStyles\" VALUES=\"Natural Continuous Staccato\"/></TSECTION><PSECTION>"
                       "<DATA NAME=\"MobileName\" TYPE=\"String\" VALUE=\"Test phone\"/>"
                       "<DATA NAME=\"MaxPictWidth\" TYPE=\"Integer\" VALUE=\"101\"/>"
                       "<DATA NAME=\"MaxPictHeight\" TYPE=\"Integer\" VALUE=\"64\"/>"
                       "<DATA NAME=\"DefaultDisplayTime\" TYPE=\"Integer\" VALUE=\"500\"/>"
                       "<DATA NAME=\"MaxMediaSize\" TYPE=\"Integer\" VALUE=\"8192\"/>"
                       "<DATA NAME=\"NbMaxPictAnim\" TYPE=\"Integer\" VALUE=\"4\"/>"
                       "<DATA NAME=\"BuzzerNaturalCompatible\" TYPE=\"Boolean\" VALUE=\"%1\"/>"
                       "<DATA NAME=\"BuzzerContinuousCompatible\" TYPE=\"Boolean\" VALUE=\"%2\"/>"
                       "<DATA NAME=\"BuzzerStaccatoCompatible\" TYPE=\"Boolean\" VALUE=\"%3\"/>"
                       "<DATA NAME=\"BuzzerDefaultStyle\" TYPE=\"BuzzerStyles\" VALUE=\"%4\"/>"
                       "<DATA NAME=\"MinBpmBuzzer\" TYPE=\"Integer\" VALUE=\"%5\"/>"
                       "<DATA NAME=\"MaxBpmBuzzer\" TYPE=\"Integer\" VALUE=\"%6\"/>"
                       "<DATA NAME=\"BuzzerBandWidthLowNote\" TYPE=\"Integer\" VALUE=\"%7\"/>"
                       "<DATA NAME=\"BuzzerBandWidthHighNote\" TYPE=\"Integer\" VALUE=\"%8\"/>"
                       "<DATA NAME=\"BrimselOneLineMelodies\" TYPE=\"Boolean\" VALUE=\"%9\"/>"
                       "</PSECTION><ISECTION/></Profile>\n")
            .arg(boolText(v.natural), boolText(v.continuous), boolText(v.staccato), QLatin1String(v.defaultStyle),
                 QString::number(v.minBpm), QString::number(v.maxBpm), QString::number(v.lowNote),
                 QString::number(v.highNote), boolText(v.oneLine));
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Profile.xml"));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(xml.toUtf8()) < 0)
        return nullptr;
    file.close();
    std::unique_ptr<CProfile> profile(new CProfile);
    if (!profile->Load(path))
        return nullptr;
    return profile;
}

// The default profile with another note band, and one-line melodies if asked.
inline std::unique_ptr<CProfile> BandProfile(int lowNote, int highNote, bool oneLine = false)
{
    ProfileValues values;
    values.lowNote = lowNote;
    values.highNote = highNote;
    values.oneLine = oneLine;
    return MakeProfile(values);
}
