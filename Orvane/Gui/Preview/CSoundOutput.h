#pragma once
#include <QString>
#include <memory>

// One sound file ready to play. Playing is asynchronous; the owner only asks whether it has finished.
class CSound
{
public:
    virtual ~CSound() = default;
    // Plays from the start.
    virtual void Play() = 0;
    virtual void Stop() = 0;
    // True when the sound is not playing (never started, stopped or played to its end).
    virtual bool IsFinished() const = 0;
};

// Where the preview player's sounds go.
class CSoundOutput
{
public:
    virtual ~CSoundOutput() = default;
    // A sound on that file; a missing or unreadable file gives a sound that plays nothing.
    virtual std::unique_ptr<CSound> Open(const QString& file) = 0;
};

// Plays nothing and says nothing: the output of a machine without an audio device.
class CSilentSoundOutput : public CSoundOutput
{
public:
    std::unique_ptr<CSound> Open(const QString& file) override;
};

// The machine's default audio output lives in a module of its own beside the program ("OrvaneSound.so"), so
// that only a run with the window loads the toolkit's multimedia libraries (the sound server's client and
// its codecs): a command-line run never plays a sound. Its one entry makes an output owned by the caller.
extern "C" {
typedef CSoundOutput* (*CreateSoundOutputFunction)();
}
#define ORVANE_SOUND_MODULE "OrvaneSound.so"
#define ORVANE_SOUND_ENTRY "CreateEffectSoundOutput"
