#include "InterruptShield.h"

#include <csignal>

namespace {

void ReinstallOnInterrupt(int)
{
    // Installing again keeps the shield in place even where a delivered signal resets the
    // handler to its default; signal() is safe to call from a handler.
    std::signal(SIGINT, ReinstallOnInterrupt);
}

} // namespace

void ShieldFromInterrupts()
{
    struct sigaction inherited = {};
    if (sigaction(SIGINT, nullptr, &inherited) == 0 && inherited.sa_handler == SIG_IGN)
        return;

    struct sigaction action = {};
    action.sa_handler = ReinstallOnInterrupt;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    sigaction(SIGINT, &action, nullptr);
}
