#pragma once
// Files, profiles and parameter sets the Messra tests make for themselves.
#include "Parameters/CParameters.h"
#include "Parameters/CProfile.h"
#include "ProfileXml.h"
#include "TestBytes.h"
#include <QByteArray>
#include <QFile>
#include <QString>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <initializer_list>
#include <memory>

namespace MessraTest {
using ::Bytes;

inline QByteArray Filled(int count, int value)
{
    return QByteArray(count, char(value));
}

class TempFolder
{
public:
    TempFolder() { EXPECT_TRUE(mDir.isValid()); }
    QString Path() const { return mDir.path(); }
    QString FilePath(const QString& name) const { return mDir.filePath(name); }
    QString Write(const QString& name, const QByteArray& bytes) const
    {
        QFile file(FilePath(name));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        EXPECT_EQ(file.write(bytes), bytes.size());
        return file.fileName();
    }
    QString Write(const char* name, const QByteArray& bytes) const { return Write(QString::fromLatin1(name), bytes); }

private:
    QTemporaryDir mDir;
};

// A phone profile with every key the library requires, the translators'
// keys and the given media size limit.
inline std::unique_ptr<CProfile> MakeProfile(const TempFolder& folder, int maxMediaSize, bool odiCompatible = true,
                                             bool ems = true, bool tdd = true)
{
    ProfileValues values;
    values.maxMediaSize = maxMediaSize;
    values.lowNote = 0;
    values.highNote = 127;
    values.extra = ProfileData("EMS4Compatible", "Boolean", ProfileFlag(ems))
                   + ProfileData("TDDCompatible", "Boolean", ProfileFlag(tdd))
                   + ProfileData("ODICopyrightCompatible", "Boolean", ProfileFlag(odiCompatible));
    const QByteArray xml = ProfileXml(values);
    auto profile = std::make_unique<CProfile>();
    EXPECT_TRUE(profile->Load(folder.Write("profile.xml", xml)));
    return profile;
}

// The translator's authored default parameter file.
inline std::unique_ptr<CParameters> LoadAuthoredParameters(const char* fileName)
{
    auto parameters = std::make_unique<CParameters>();
    EXPECT_TRUE(parameters->Load(QStringLiteral(ORV_SOURCE_DIR "/data/app/Plugins/Parameters/")
                                 + QString::fromLatin1(fileName)));
    return parameters;
}

// An e-card in ISO-8859-1 with the given root and body.
inline QByteArray Card(const char* root, const QByteArray& body, const char* encoding = "ISO-8859-1")
{
    return QByteArray("<?xml version=\"1.0\" encoding=\"") + encoding + "\"?>\n<" + root + ">" + body + "</" + root
           + ">\n";
}

inline QByteArray Ie(const char* type, const char* stype, const QByteArray& ref)
{
    return QByteArray("<IE TYPE=\"") + type + "\" STYPE=\"" + stype + "\" REF=\"" + ref + "\"/>";
}

// Media files of the formats the items read.
namespace Media {
// A monochrome picture body of the maker's format: width, height, columns of bands.
inline QByteArray PictureBody(int width, int height, int fill = 0x5A)
{
    return Bytes({width, height}) + Filled(width * ((height + 7) / 8), fill);
}

// An animation of the maker's format with one time word and the frames' bodies.
inline QByteArray Animation(const std::vector<QByteArray>& bodies)
{
    const int words = 1 + int(bodies.size());
    QByteArray file = Bytes({words & 0xFF, words >> 8, 0x05, 0xF0});
    int offset = 2 + 2 * words;
    for (const QByteArray& body : bodies) {
        file += Bytes({offset & 0xFF, offset >> 8});
        offset += int(body.size());
    }
    for (const QByteArray& body : bodies)
        file += body;
    return file;
}

// A one-line melody of n notes: header, two-octet note codes, end octet.
inline QByteArray OneLineMelody(int notes)
{
    const int count = 2 * notes + 1;
    QByteArray file = QByteArray(".QBR") + Bytes({count & 0xFF, count >> 8, 0x10, 0x20, 120 >> 2, 0x07});
    for (int i = 0; i < notes; ++i)
        file += Bytes({0x10, 0x40 | (i % 12)});
    return file + Bytes({0x1F});
}

inline QByteArray IMelody(const QByteArray& notes)
{
    return QByteArray("BEGIN:IMELODY\r\nVERSION:1.2\r\nFORMAT:CLASS1.0\r\nBEAT:120\r\nMELODY:") + notes
           + "\r\nEND:IMELODY\r\n";
}
} // namespace Media
} // namespace MessraTest
