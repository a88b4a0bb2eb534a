#pragma once
// Collects the toolkit's warning output while it lives.
#include <QString>
#include <QStringList>
#include <QtGlobal>

class WarningCatcher
{
public:
    WarningCatcher() : m_Previous(qInstallMessageHandler(Catch)) { Caught().clear(); }
    ~WarningCatcher() { qInstallMessageHandler(m_Previous); }

    static QStringList& Caught()
    {
        static QStringList caught;
        return caught;
    }

private:
    static void Catch(QtMsgType, const QMessageLogContext&, const QString& text) { Caught() << text; }

    QtMessageHandler m_Previous;
};
