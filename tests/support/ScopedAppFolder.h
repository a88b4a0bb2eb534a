#pragma once
// Sets (or, given null, unsets) ORVANEDIR for one test and restores it afterwards.
#include <QByteArray>
#include <QtGlobal>

class ScopedAppFolder
{
public:
    explicit ScopedAppFolder(const QByteArray* folder)
        : m_HadValue(qEnvironmentVariableIsSet("ORVANEDIR")), m_Old(qgetenv("ORVANEDIR"))
    {
        if (folder)
            qputenv("ORVANEDIR", *folder);
        else
            qunsetenv("ORVANEDIR");
    }
    explicit ScopedAppFolder(const QByteArray& folder) : ScopedAppFolder(&folder) {}
    ~ScopedAppFolder()
    {
        if (m_HadValue)
            qputenv("ORVANEDIR", m_Old);
        else
            qunsetenv("ORVANEDIR");
    }
    ScopedAppFolder(const ScopedAppFolder&) = delete;
    ScopedAppFolder& operator=(const ScopedAppFolder&) = delete;

private:
    bool m_HadValue;
    QByteArray m_Old;
};
