// The machine's default audio output through the toolkit's sound effects, silent when there is no device.
// Built as the module the program loads when it opens its window.
#include "Gui/Preview/CSoundOutput.h"

#include <QAudioDevice>
#include <QMediaDevices>
#include <QSoundEffect>
#include <QUrl>

namespace {

class CQuietSound : public CSound
{
public:
    void Play() override {}
    void Stop() override {}
    bool IsFinished() const override { return true; }
};

class CEffectSound : public CSound
{
public:
    explicit CEffectSound(const QString& file) { m_Effect.setSource(QUrl::fromLocalFile(file)); }
    void Play() override
    {
        m_Effect.stop();
        m_Effect.play();
    }
    void Stop() override { m_Effect.stop(); }
    bool IsFinished() const override { return !m_Effect.isPlaying(); }

private:
    QSoundEffect m_Effect;
};

class CEffectSoundOutput : public CSoundOutput
{
public:
    std::unique_ptr<CSound> Open(const QString& file) override
    {
        // Without a device the effect would load and "play" without a sound; say nothing instead.
        if (QMediaDevices::defaultAudioOutput().isNull())
            return std::make_unique<CQuietSound>();
        return std::make_unique<CEffectSound>(file);
    }
};

} // namespace

extern "C" __attribute__((visibility("default"))) CSoundOutput* CreateEffectSoundOutput()
{
    return new CEffectSoundOutput;
}
