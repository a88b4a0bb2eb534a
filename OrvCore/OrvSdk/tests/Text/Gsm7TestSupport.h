#pragma once
#include <QByteArray>
#include <QStringList>
#include <QtGlobal>

// Collects the toolkit's warnings while alive, so tests can see failed checks.
class WarningCatcher
{
public:
    WarningCatcher() { s_Warnings.clear(); m_Previous = qInstallMessageHandler(Catch); }
    ~WarningCatcher() { qInstallMessageHandler(m_Previous); }
    QStringList Warnings() const { return s_Warnings; }

private:
    static void Catch(QtMsgType, const QMessageLogContext&, const QString& text) { s_Warnings << text; }
    static inline QStringList s_Warnings;
    QtMessageHandler m_Previous;
};

inline QByteArray Bytes(std::initializer_list<int> values)
{
    QByteArray bytes;
    for (int value : values)
        bytes.append(char(value));
    return bytes;
}
