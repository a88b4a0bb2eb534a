#include "Util/StopSignals.h"
#include <cstring>
#include <pthread.h>
#include <unistd.h>

namespace StopSignals {
namespace {

sigset_t StopSet()
{
    sigset_t set;
    sigemptyset(&set);
    for (const int signal : kSignals)
        sigaddset(&set, signal);
    return set;
}

int IndexOf(int signal)
{
    for (int i = 0; i < kCount; ++i)
        if (kSignals[i] == signal)
            return i;
    return -1;
}

// The owner's handler for each signal while this module has it taken over. Every module (the program, each
// plug-in) has its own copy, as it has its own handlers.
void (*volatile g_Handlers[kCount])(int) = {};

// The main thread's id is the process's.
bool OnMainThread()
{
    return ::gettid() == ::getpid();
}

// What is installed: the owner's handler in the main thread; in any other thread, the signal goes on to the main
// thread, and this thread takes no stopping signal again.
void RunInMainThread(int signal)
{
    if (!OnMainThread()) {
        const sigset_t set = StopSet();
        ::pthread_sigmask(SIG_BLOCK, &set, nullptr);
        ::tgkill(::getpid(), ::getpid(), signal);
        return;
    }
    const int index = IndexOf(signal);
    void (*handler)(int) = index >= 0 ? g_Handlers[index] : nullptr;
    if (handler)
        handler(signal);
}

} // namespace

namespace {
// The main thread's mask before BlockBeforeThreadsStart: a signal the run was started with blocked stays blocked.
sigset_t g_MaskAtStart;
bool g_Blocked = false;
} // namespace

void BlockBeforeThreadsStart()
{
    const sigset_t set = StopSet();
    g_Blocked = ::pthread_sigmask(SIG_BLOCK, &set, &g_MaskAtStart) == 0;
}

void TakeInMainThread()
{
    if (g_Blocked)
        ::pthread_sigmask(SIG_SETMASK, &g_MaskAtStart, nullptr);
    g_Blocked = false;
}

CHeld::CHeld()
{
    const sigset_t block = StopSet();
    ::pthread_sigmask(SIG_BLOCK, &block, &m_Previous);
}

CHeld::~CHeld()
{
    ::pthread_sigmask(SIG_SETMASK, &m_Previous, nullptr);
}

void CTakeover::Take(void (*handler)(int))
{
    for (int i = 0; i < kCount; ++i) {
        m_Taken[i] = false;
        if (::sigaction(kSignals[i], nullptr, &m_Previous[i]) != 0 || m_Previous[i].sa_handler == SIG_IGN)
            continue;
        m_PreviousHandler[i] = g_Handlers[i];
        g_Handlers[i] = handler;
        struct sigaction action;
        std::memset(&action, 0, sizeof action);
        action.sa_handler = RunInMainThread;
        sigemptyset(&action.sa_mask);
        m_Taken[i] = ::sigaction(kSignals[i], &action, nullptr) == 0;
        if (!m_Taken[i])
            g_Handlers[i] = m_PreviousHandler[i];
    }
}

void CTakeover::GiveBack()
{
    for (int i = 0; i < kCount; ++i) {
        if (m_Taken[i]) {
            ::sigaction(kSignals[i], &m_Previous[i], nullptr);
            g_Handlers[i] = m_PreviousHandler[i];
        }
        m_Taken[i] = false;
    }
}

void CTakeover::PassOn(int signal)
{
    const int i = IndexOf(signal);
    if (i >= 0 && m_Taken[i]) {
        ::sigaction(signal, &m_Previous[i], nullptr);
        g_Handlers[i] = m_PreviousHandler[i];
        m_Taken[i] = false;
    }
    // Held while the handler runs; delivered once it returns.
    std::raise(signal);
}

} // namespace StopSignals
