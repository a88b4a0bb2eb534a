#include "Util/StopSignals.h"
#include <cstring>

namespace StopSignals {

CHeld::CHeld()
{
    sigset_t block;
    sigemptyset(&block);
    for (const int signal : kSignals)
        sigaddset(&block, signal);
    ::sigprocmask(SIG_BLOCK, &block, &m_Previous);
}

CHeld::~CHeld()
{
    ::sigprocmask(SIG_SETMASK, &m_Previous, nullptr);
}

void CTakeover::Take(void (*handler)(int))
{
    for (int i = 0; i < kCount; ++i) {
        m_Taken[i] = false;
        if (::sigaction(kSignals[i], nullptr, &m_Previous[i]) != 0 || m_Previous[i].sa_handler == SIG_IGN)
            continue;
        struct sigaction action;
        std::memset(&action, 0, sizeof action);
        action.sa_handler = handler;
        sigemptyset(&action.sa_mask);
        m_Taken[i] = ::sigaction(kSignals[i], &action, nullptr) == 0;
    }
}

void CTakeover::GiveBack()
{
    for (int i = 0; i < kCount; ++i) {
        if (m_Taken[i])
            ::sigaction(kSignals[i], &m_Previous[i], nullptr);
        m_Taken[i] = false;
    }
}

void CTakeover::PassOn(int signal)
{
    for (int i = 0; i < kCount; ++i) {
        if (kSignals[i] == signal && m_Taken[i]) {
            ::sigaction(signal, &m_Previous[i], nullptr);
            m_Taken[i] = false;
        }
    }
    // Held while the handler runs; delivered once it returns.
    std::raise(signal);
}

} // namespace StopSignals
