#pragma once
// Shared helpers of the parameter tests: temporary parameter files built from
// their three sections; the check warnings are caught by MessageCapture.
#include "tests/SdkTestSupport.h"

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <QtGlobal>

namespace ParameterTest {

inline QString S(const char* text)
{
    return QString::fromUtf8(text);
}

inline QString FixturePath(const char* name)
{
    return S(ORV_SOURCE_DIR) + S("/OrvCore/OrvSdk/tests/Parameters/fixtures/") + S(name);
}

// The usual declarations: the four base types, then two enumerations.
constexpr const char kTypes[] =
    "<TSECTION><TYPE NAME=\"bool\"/><TYPE NAME=\"int\"/><TYPE NAME=\"float\"/><TYPE NAME=\"string\"/>"
    "<ENUM NAME=\"Styles\" VALUES=\"Natural  Continuous Staccato\"/>"
    "<ENUM NAME=\"Encodings\" VALUES=\"ASCII GSM7\"/></TSECTION>";

inline QByteArray Document(const QByteArray& types, const QByteArray& parameters,
                           const QByteArray& interface = "<ISECTION/>")
{
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<Root>" + types + parameters + interface + "</Root>\n";
}

inline QByteArray WithParameters(const QByteArray& data, const QByteArray& interface = "<ISECTION/>")
{
    return Document(kTypes, "<PSECTION>" + data + "</PSECTION>", interface);
}

// Writes files into one temporary folder that lives as long as the object.
class TempFiles
{
public:
    QString Write(const QByteArray& content, const QString& name = S("params.xml"))
    {
        const QString path = mDir.filePath(name);
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            return QString();
        file.write(content);
        return path;
    }
    QString Path(const char* name) const { return mDir.filePath(S(name)); }

private:
    QTemporaryDir mDir;
};

} // namespace ParameterTest
