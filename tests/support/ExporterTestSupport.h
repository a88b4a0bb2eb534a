#pragma once
// Shared helpers of the picture, animation and melody exporter tests: the
// authored data files, converters set up as the host sets them up, pictures
// drawn from text, the plug-in module as the host loads it, and the real
// program run on the built application folder.
#include "Parameters/CParameters.h"
#include "Parameters/CProfile.h"
#include "Plugin/CPluginBase.h"
#include "Plugin/PluginExports.h"
#include "Text/CLanguageResources.h"

#include "LoadedPluginModule.h"
#include "MessageCapture.h"
#include "ProgramRun.h"
#include "TestBytes.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <QVector>

#include <cstring>
#include <gtest/gtest.h>
#include <initializer_list>

namespace ExporterTest {

inline QString SourcePath(const QString& relative)
{
    return QString::fromUtf8(ORV_SOURCE_DIR) + QLatin1Char('/') + relative;
}

inline QString ProfilePath(const char* model)
{
    return SourcePath(QStringLiteral("data/app/Profiles/") + QString::fromLatin1(model) + QStringLiteral(".xml"));
}

inline QString ParameterPath(const QString& fileName)
{
    return SourcePath(QStringLiteral("data/app/Plugins/Parameters/") + fileName);
}

inline bool LoadLanguage()
{
    return CLanguageResources::Load(SourcePath(QStringLiteral("data/app/Languages/English.xml")));
}

// The summary line a message id leaves in the conversion log.
inline QString LogLine(const char* className, const char* id)
{
    return CLanguageResources::GetMessage(QString::fromLatin1(className), QString::fromLatin1(id)) + QLatin1Char('\n');
}

inline quint16 Word(const QByteArray& bytes, int at)
{
    return quint16(quint8(bytes.at(at)) | (quint8(bytes.at(at + 1)) << 8));
}

// A picture body read back: the grey index (or the bit) and the mask bit of
// every pixel, row by row. `ok` is false for a body cut short.
struct DecodedBody
{
    bool ok = false;
    bool grey = false;
    bool hasMask = false;
    int width = 0;
    int height = 0;
    int size = 0; // bytes the body took
    QVector<int> pixels;
    QVector<int> mask;
    int Pixel(int x, int y) const { return pixels.at(y * width + x); }
    int Mask(int x, int y) const { return hasMask ? mask.at(y * width + x) : 1; }
};

inline DecodedBody DecodeBody(const QByteArray& bytes, int at = 0)
{
    DecodedBody body;
    auto byte = [&](int i) { return i < bytes.size() ? int(quint8(bytes.at(i))) : -1; };
    int pos = at;
    body.grey = byte(pos) == 0;
    if (body.grey) {
        body.hasMask = byte(pos + 1) == 0;
        pos += 2;
    }
    body.width = byte(pos);
    body.height = byte(pos + 1);
    pos += 2;
    if (body.width <= 0 || body.height <= 0)
        return body;
    const int bands = (body.height + 7) / 8;
    auto readBits = [&](QVector<int>& plane) {
        plane.fill(0, body.width * body.height);
        for (int x = 0; x < body.width; ++x)
            for (int b = 0; b < bands; ++b, ++pos)
                for (int k = 0; k < 8 && b * 8 + k < body.height; ++k)
                    plane[(b * 8 + k) * body.width + x] = (byte(pos) >> (7 - k)) & 1;
    };
    if (!body.grey) {
        readBits(body.pixels);
    } else {
        if (body.hasMask)
            readBits(body.mask);
        body.pixels.fill(0, body.width * body.height);
        for (int b = 0; b < bands; ++b)
            for (int x = 0; x < body.width; ++x, pos += 2) {
                const int word = byte(pos) | (byte(pos + 1) << 8);
                for (int k = 0; k < 8 && b * 8 + k < body.height; ++k)
                    body.pixels[(b * 8 + k) * body.width + x] = (word >> (14 - 2 * k)) & 3;
            }
    }
    body.size = pos - at;
    body.ok = pos <= bytes.size();
    return body;
}

// A picture drawn in text, one string a row: '#' black, '.' white, and the
// digits 0..3 the phone greys, 'w' white among them. Rows are 8-bit indexed
// over the colours the text uses.
inline QImage Drawn(std::initializer_list<const char*> rows)
{
    const int height = int(rows.size());
    const int width = height ? int(std::strlen(*rows.begin())) : 0;
    QImage image(width, height, QImage::Format_RGB32);
    int y = 0;
    for (const char* row : rows) {
        for (int x = 0; x < width; ++x) {
            QRgb colour = qRgb(255, 255, 255);
            switch (row[x]) {
            case '#':
                colour = qRgb(0, 0, 0);
                break;
            case '0':
                colour = qRgb(194, 194, 194);
                break;
            case '1':
                colour = qRgb(160, 160, 160);
                break;
            case '2':
                colour = qRgb(125, 125, 125);
                break;
            case '3':
                colour = qRgb(0, 0, 0);
                break;
            default:
                break;
            }
            image.setPixel(x, y, colour);
        }
        ++y;
    }
    return image;
}

// A plain picture of one colour.
inline QImage Filled(int width, int height, QRgb colour)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(colour);
    return image;
}

// A square picture that is fully transparent apart from an opaque black disc
// of `radius` pixels about its centre; the transparent pixels store black, as
// the icons of desktop themes often do.
inline bool InDisc(int side, int radius, int x, int y)
{
    const double dx = x + 0.5 - side / 2.0;
    const double dy = y + 0.5 - side / 2.0;
    return dx * dx + dy * dy <= double(radius) * radius;
}

inline QImage BlackDiscOnTransparent(int side, int radius)
{
    QImage image(side, side, QImage::Format_ARGB32);
    for (int y = 0; y < side; ++y)
        for (int x = 0; x < side; ++x)
            image.setPixel(x, y, InDisc(side, radius, x, y) ? qRgba(0, 0, 0, 255) : qRgba(0, 0, 0, 0));
    return image;
}

// Expects a monochrome body whose black pixels are exactly that disc; returns
// how many pixels are black.
inline int ExpectBlackDisc(const DecodedBody& body, int side, int radius)
{
    EXPECT_TRUE(body.ok);
    EXPECT_FALSE(body.grey);
    EXPECT_EQ(QSize(body.width, body.height), QSize(side, side));
    if (!body.ok || body.grey || body.width != side || body.height != side)
        return 0;
    int black = 0;
    for (int y = 0; y < side; ++y)
        for (int x = 0; x < side; ++x) {
            EXPECT_EQ(body.Pixel(x, y), InDisc(side, radius, x, y) ? 1 : 0) << x << "," << y;
            black += body.Pixel(x, y);
        }
    return black;
}

// A converter with an authored parameter file and a shipped profile.
template <typename Converter>
struct Fixture
{
    Fixture(const QString& parameterFile, const char* model)
    {
        parametersLoaded = parameterFile.isEmpty() || parameters.Load(ParameterPath(parameterFile));
        profileLoaded = profile.Load(ProfilePath(model));
        converter.SetParameters(&parameters);
        converter.SetProfile(&profile);
    }

    // Converts and hands back the one output chunk (empty on failure).
    QByteArray Run(CDocument* document)
    {
        converter.ClearRawData();
        converter.GetConversionLog()->AddText(
            CConversionLog::SUMMARY | CConversionLog::DETAILED | CConversionLog::CLEAR, QString());
        converted = converter.Convert(document);
        return converter.GetRawDataList().isEmpty() ? QByteArray() : converter.GetRawDataList().first();
    }

    QString Summary() { return converter.GetConversionLog()->GetSummaryText(); }

    void SetEnum(const char* name, const char* value)
    {
        CEnumParameter* parameter = parameters.GetEnumParameter(QString::fromLatin1(name));
        ASSERT_NE(parameter, nullptr) << name;
        ASSERT_TRUE(parameter->SetValue(QString::fromLatin1(value))) << name << " " << value;
    }

    void SetProfileInt(const char* name, int value)
    {
        CIntParameter* parameter = profile.GetIntParameter(QString::fromLatin1(name));
        ASSERT_NE(parameter, nullptr) << name;
        parameter->mValue = value;
    }

    CParameters parameters;
    CProfile profile;
    Converter converter;
    bool parametersLoaded = false;
    bool profileLoaded = false;
    bool converted = false;
};

// The plug-in module as the host loads it: its five exports, and a converter
// from its class info.
inline void ExpectModule(const char* path, const char* name, int version, const char* extension)
{
    LoadedPluginModule module(path);
    ASSERT_NO_FATAL_FAILURE(ExpectModuleIdentity(module, name, version, 1));
    EXPECT_EQ(module.classInfo(3), module.classInfo(0));
    CPluginBase* converter = module.classInfo(0) ? module.classInfo(0)->CreateInstance() : nullptr;
    EXPECT_NE(converter, nullptr);
    if (converter) {
        EXPECT_EQ(converter->GetExportExtension(), QString::fromLatin1(extension));
        EXPECT_EQ(converter->GetConverterType(), int(CPluginBase::EXPORTER));
        delete converter;
    }
}

#ifdef ORV_PROGRAM_FILE
// The real program on the built application folder, run in a scratch folder
// that holds copies of the named examples.
class ProgramRun
{
public:
    explicit ProgramRun(std::initializer_list<const char*> examples)
    {
        m_Work = m_Scratch.path();
        QDir().mkpath(m_Work + QStringLiteral("/out"));
        for (const char* name : examples)
            QFile::copy(SourcePath(QStringLiteral("examples/") + QString::fromLatin1(name)),
                        m_Work + QLatin1Char('/') + QString::fromLatin1(name));
    }

    // Runs the main job; returns the exit code (-1 when it did not end normally).
    int Run(const QStringList& arguments)
    {
        return RunProgramIn(m_Work, arguments + QStringList{QStringLiteral("/logfile=run.log")});
    }

    QString Path(const QString& name) const { return m_Work + QLatin1Char('/') + name; }
    QByteArray Read(const QString& name) const
    {
        QFile file(Path(name));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    bool Write(const QString& name, const QByteArray& bytes) const
    {
        QFile file(Path(name));
        return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
    }
    QByteArray Log() const { return Read(QStringLiteral("run.log")); }
    QStringList OutFiles() const { return QDir(Path(QStringLiteral("out"))).entryList(QDir::Files, QDir::Name); }

private:
    QTemporaryDir m_Scratch;
    QString m_Work;
};
#endif

} // namespace ExporterTest
