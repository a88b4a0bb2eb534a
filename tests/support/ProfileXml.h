#pragma once
// Phone profiles written by the tests, benchmarks and fuzz targets themselves:
// every key the library requires, each a neutral default unless stated, and
// any further keys as DATA elements.
#include <QByteArray>

struct ProfileValues
{
    int maxMediaSize = 8192;
    int lowNote = 48;
    int highNote = 95;
    bool oneLine = false;
    int minBpm = 25;
    int maxBpm = 900;
    bool natural = true;
    bool continuous = true;
    bool staccato = true;
    const char* defaultStyle = "Natural";
    // Further <DATA .../> elements (types "Boolean", "Integer", "Float", "String", "BuzzerStyles").
    QByteArray extra;
};

// A "DATA" element of a profile.
inline QByteArray ProfileData(const char* name, const char* type, const QByteArray& value)
{
    return QByteArray("<DATA NAME=\"") + name + "\" TYPE=\"" + type + "\" VALUE=\"" + value + "\"/>";
}

inline QByteArray ProfileFlag(bool on)
{
    return on ? QByteArray("true") : QByteArray("false");
}

inline QByteArray ProfileXml(const ProfileValues& v = ProfileValues())
{
    return QByteArray("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<Profile><TSECTION>"
                      "<TYPE NAME=\"Boolean\"/><TYPE NAME=\"Integer\"/><TYPE NAME=\"Float\"/><TYPE NAME=\"String\"/>"
                      "<ENUM NAME=\"BuzzerStyles\" VALUES=\"Natural Continuous Staccato\"/></TSECTION><PSECTION>")
           + ProfileData("MobileName", "String", "Test phone") + ProfileData("MaxPictWidth", "Integer", "101")
           + ProfileData("MaxPictHeight", "Integer", "64") + ProfileData("DefaultDisplayTime", "Integer", "500")
           + ProfileData("MaxMediaSize", "Integer", QByteArray::number(v.maxMediaSize))
           + ProfileData("NbMaxPictAnim", "Integer", "4")
           + ProfileData("BuzzerNaturalCompatible", "Boolean", ProfileFlag(v.natural))
           + ProfileData("BuzzerContinuousCompatible", "Boolean", ProfileFlag(v.continuous))
           + ProfileData("BuzzerStaccatoCompatible", "Boolean", ProfileFlag(v.staccato))
           + ProfileData("BuzzerDefaultStyle", "BuzzerStyles", v.defaultStyle)
           + ProfileData("MinBpmBuzzer", "Integer", QByteArray::number(v.minBpm))
           + ProfileData("MaxBpmBuzzer", "Integer", QByteArray::number(v.maxBpm))
           + ProfileData("BuzzerBandWidthLowNote", "Integer", QByteArray::number(v.lowNote))
           + ProfileData("BuzzerBandWidthHighNote", "Integer", QByteArray::number(v.highNote))
           + ProfileData("BrimselOneLineMelodies", "Boolean", ProfileFlag(v.oneLine)) + v.extra
           + "</PSECTION><ISECTION/></Profile>\n";
}
