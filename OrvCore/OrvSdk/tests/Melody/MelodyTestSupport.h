#pragma once
// Shared helpers of the melody tests: quiet message capture, note and melody
// builders.
#include "Melody/CDocumentMelody.h"
#include "Melody/MidiNote.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QtGlobal>

// Swallows debug output and keeps the warnings (failed checks) for the test.
class MessageCapture
{
public:
    MessageCapture() { m_Previous = qInstallMessageHandler(&MessageCapture::Handle); Current() = this; }
    ~MessageCapture()
    {
        qInstallMessageHandler(m_Previous);
        Current() = nullptr;
    }
    const QStringList& Warnings() const { return m_Warnings; }
    const QStringList& DebugLines() const { return m_Debug; }
    bool HasWarning(const QString& part) const
    {
        for (const QString& w : m_Warnings)
            if (w.contains(part))
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
        if (type == QtDebugMsg)
            capture->m_Debug << text;
        else
            capture->m_Warnings << text;
    }
    QtMessageHandler m_Previous = nullptr;
    QStringList m_Warnings;
    QStringList m_Debug;
};

inline MidiNote* MakeNote(int value, int octave, int duration, int modifier = 0, int volume = 127)
{
    MidiNote* note = new MidiNote;
    note->SetValue(value);
    note->SetOctave(octave);
    note->SetDuration(duration);
    note->SetDurationModifier(modifier);
    note->SetVolume(volume);
    return note;
}

inline MidiNote* MakeRest(int duration, int modifier = 0)
{
    return MakeNote(MidiNote::Silence, 0, duration, modifier, 0);
}

inline QByteArray Bytes(std::initializer_list<int> values)
{
    QByteArray bytes;
    for (int v : values)
        bytes.append(static_cast<char>(v));
    return bytes;
}
