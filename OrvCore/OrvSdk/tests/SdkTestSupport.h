#pragma once
// Helpers shared by the SDK's test rooms: catching the toolkit's messages
// (the library's failed checks are warnings) and writing bytes by hand.
#include <QByteArray>
#include <QFile>
#include <QString>
#include <QStringList>
#include <QtGlobal>

#include <cstdint>
#include <initializer_list>

// Collects the toolkit's messages while it lives, so that tests can see the
// failed checks and nothing reaches the console. Captures may nest: the
// innermost one collects, and the outer one takes over again after it.
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

// A whole file's bytes; empty when it cannot be read.
inline QByteArray ReadFileBytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Writes a whole file; false when it cannot be written in full.
inline bool WriteFileBytes(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

inline QByteArray Bytes(std::initializer_list<int> values)
{
    QByteArray bytes;
    for (int value : values)
        bytes.append(static_cast<char>(value));
    return bytes;
}

// Standard MIDI File numbers: big-endian, and variable-length numbers of up
// to four 7-bit groups, most significant first.
inline void AppendU16(QByteArray& out, uint32_t value)
{
    out.append(static_cast<char>((value >> 8) & 0xFF));
    out.append(static_cast<char>(value & 0xFF));
}

inline void AppendU32(QByteArray& out, uint32_t value)
{
    AppendU16(out, value >> 16);
    AppendU16(out, value & 0xFFFF);
}

inline void AppendVarLen(QByteArray& out, uint32_t value)
{
    uint8_t groups[4];
    int count = 0;
    do
    {
        groups[count++] = static_cast<uint8_t>(value & 0x7F);
        value >>= 7;
    } while (value && count < 4);
    while (count > 1)
        out.append(static_cast<char>(groups[--count] | 0x80));
    out.append(static_cast<char>(groups[0]));
}
