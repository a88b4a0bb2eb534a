#pragma once
// Phone profiles written by the tests themselves, with the melody keys chosen
// per test and every key the profile requires.
#include "Parameters/CProfile.h"
#include "ProfileXml.h"

#include <QFile>
#include <QString>
#include <QTemporaryDir>
#include <memory>

inline std::unique_ptr<CProfile> MakeProfile(const ProfileValues& v = ProfileValues())
{
    const QByteArray xml = ProfileXml(v);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Profile.xml"));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(xml) < 0)
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
