#pragma once
// Catches the toolkit's debug lines and warnings (failed checks among them)
// while alive, so that tests can read them and the output stays quiet.
// Captures nest: the innermost one receives.
#include <QString>
#include <QStringList>
#include <QtGlobal>

class MessageCapture
{
public:
    MessageCapture() : m_pOuter(Current())
    {
        Current() = this;
        m_Previous = qInstallMessageHandler(&MessageCapture::Handle);
    }
    ~MessageCapture()
    {
        qInstallMessageHandler(m_Previous);
        Current() = m_pOuter;
    }
    MessageCapture(const MessageCapture&) = delete;
    MessageCapture& operator=(const MessageCapture&) = delete;

    // Every message in order, debug lines included.
    const QStringList& Messages() const { return m_Messages; }
    // Warnings and worse, in order.
    const QStringList& Warnings() const { return m_Warnings; }
    const QStringList& DebugLines() const { return m_Debug; }
    // The condition texts of the failed checks, in order.
    QStringList Checks() const
    {
        const QString prefix = QStringLiteral("ASSERT: \"");
        QStringList checks;
        for (const QString& line : m_Warnings)
            if (line.startsWith(prefix))
                checks << line.section(QLatin1Char('"'), 1, 1);
        return checks;
    }
    bool HasWarning(const QString& part) const
    {
        for (const QString& line : m_Warnings)
            if (line.contains(part))
                return true;
        return false;
    }
    bool HasWarning(const char* part) const { return HasWarning(QString::fromLatin1(part)); }

private:
    static MessageCapture*& Current()
    {
        static MessageCapture* current = nullptr;
        return current;
    }
    static void Handle(QtMsgType type, const QMessageLogContext&, const QString& text)
    {
        MessageCapture* capture = Current();
        if (!capture)
            return;
        capture->m_Messages << text;
        if (type == QtDebugMsg)
            capture->m_Debug << text;
        else
            capture->m_Warnings << text;
    }

    MessageCapture* m_pOuter;
    QtMessageHandler m_Previous = nullptr;
    QStringList m_Messages;
    QStringList m_Warnings;
    QStringList m_Debug;
};

// The importers' tests' name for it: every line said, in order.
class CQuietMessages : public MessageCapture
{
public:
    QStringList Lines() const { return Messages(); }
};
