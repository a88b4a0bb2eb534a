#include "CSoundOutput.h"
#include <QAudioDevice>
#include <QMediaDevices>
#include <QSoundEffect>
#include <QUrl>

namespace {

class CSilentSound : public CSound
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

} // namespace

std::unique_ptr<CSound> CSilentSoundOutput::Open(const QString&)
{
    return std::make_unique<CSilentSound>();
}

std::unique_ptr<CSound> CEffectSoundOutput::Open(const QString& file)
{
    // Without a device the effect would load and "play" without a sound; say nothing instead.
    if (QMediaDevices::defaultAudioOutput().isNull())
        return std::make_unique<CSilentSound>();
    return std::make_unique<CEffectSound>(file);
}
