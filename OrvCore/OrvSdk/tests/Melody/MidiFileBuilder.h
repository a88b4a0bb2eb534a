#pragma once
// Builds Standard MIDI Files in memory for the tests.
#include <QByteArray>
#include <QList>
#include <cstdint>

class SmfTrack
{
public:
    SmfTrack& NoteOn(uint32_t delta, int channel, int key, int velocity)
    {
        return Message(delta, 0x90 | channel, key, velocity);
    }
    SmfTrack& NoteOff(uint32_t delta, int channel, int key) { return Message(delta, 0x80 | channel, key, 64); }
    SmfTrack& Program(uint32_t delta, int channel, int program)
    {
        Delta(delta);
        m_Data.append(static_cast<char>(0xC0 | channel));
        m_Data.append(static_cast<char>(program));
        return *this;
    }
    SmfTrack& Control(uint32_t delta, int channel, int controller, int value)
    {
        return Message(delta, 0xB0 | channel, controller, value);
    }
    SmfTrack& Tempo(uint32_t delta, uint32_t microseconds)
    {
        const char data[3] = {static_cast<char>(microseconds >> 16), static_cast<char>(microseconds >> 8),
                              static_cast<char>(microseconds)};
        return Meta(delta, 0x51, QByteArray(data, 3));
    }
    SmfTrack& Meta(uint32_t delta, int type, const QByteArray& data)
    {
        Delta(delta);
        m_Data.append(static_cast<char>(0xFF));
        m_Data.append(static_cast<char>(type));
        Delta(static_cast<uint32_t>(data.size()));
        m_Data.append(data);
        return *this;
    }
    SmfTrack& Message(uint32_t delta, int status, int data1, int data2)
    {
        Delta(delta);
        m_Data.append(static_cast<char>(status));
        m_Data.append(static_cast<char>(data1));
        m_Data.append(static_cast<char>(data2));
        return *this;
    }
    QByteArray Chunk() const
    {
        QByteArray body = m_Data;
        body.append("\x00\xFF\x2F\x00", 4);
        return QByteArray("MTrk") + BigEndian32(static_cast<uint32_t>(body.size())) + body;
    }
    static QByteArray BigEndian32(uint32_t v)
    {
        const char bytes[4] = {static_cast<char>(v >> 24), static_cast<char>(v >> 16), static_cast<char>(v >> 8),
                               static_cast<char>(v)};
        return QByteArray(bytes, 4);
    }

private:
    void Delta(uint32_t value)
    {
        char groups[4];
        int n = 0;
        do
        {
            groups[n++] = static_cast<char>(value & 0x7F);
            value >>= 7;
        } while (value && n < 4);
        while (n-- > 0)
            m_Data.append(static_cast<char>(groups[n] | (n ? 0x80 : 0)));
    }
    QByteArray m_Data;
};

inline QByteArray SmfFile(const QList<SmfTrack>& tracks, int division = 480, int format = 1)
{
    QByteArray file("MThd");
    file += SmfTrack::BigEndian32(6);
    const char header[6] = {0, static_cast<char>(format), static_cast<char>(tracks.size() >> 8),
                            static_cast<char>(tracks.size()), static_cast<char>(division >> 8),
                            static_cast<char>(division)};
    file.append(header, 6);
    for (const SmfTrack& track : tracks)
        file += track.Chunk();
    return file;
}
