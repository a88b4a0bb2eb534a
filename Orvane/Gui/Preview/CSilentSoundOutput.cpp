#include "Gui/Preview/CSoundOutput.h"

namespace {
class CSilentSound : public CSound
{
public:
    void Play() override {}
    void Stop() override {}
    bool IsFinished() const override { return true; }
};
} // namespace

std::unique_ptr<CSound> CSilentSoundOutput::Open(const QString&)
{
    return std::make_unique<CSilentSound>();
}
