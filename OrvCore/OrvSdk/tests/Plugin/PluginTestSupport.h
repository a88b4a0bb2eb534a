#pragma once
#include <QByteArray>
#include <QList>
#include <QObject>
#include <QStringList>
#include <QtGlobal>

// Collects the toolkit's warnings while alive.
class PluginWarningCatcher
{
public:
    PluginWarningCatcher() { s_Warnings.clear(); m_Previous = qInstallMessageHandler(Catch); }
    ~PluginWarningCatcher() { qInstallMessageHandler(m_Previous); }
    QStringList Warnings() const { return s_Warnings; }

private:
    static void Catch(QtMsgType, const QMessageLogContext&, const QString& text) { s_Warnings << text; }
    static inline QStringList s_Warnings;
    QtMessageHandler m_Previous;
};

// Sets or unsets ORVANEDIR for one test and restores it afterwards.
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
    ~ScopedAppFolder()
    {
        if (m_HadValue)
            qputenv("ORVANEDIR", m_Old);
        else
            qunsetenv("ORVANEDIR");
    }

private:
    bool m_HadValue;
    QByteArray m_Old;
};

// Receives SetProgress through a string connection, as older host code does.
class ProgressReceiver : public QObject
{
    Q_OBJECT
public slots:
    void OnProgress(const QString text, int progress)
    {
        m_Texts << text;
        m_Values << progress;
    }

public:
    QStringList m_Texts;
    QList<int> m_Values;
};
