#pragma once
// The signals that end a run from outside and whose default ends the process: Ctrl+C, a kill, a closed terminal,
// Ctrl+\, the user signals, a timer that runs out, a processor time limit. Code that leaves something behind when the
// run ends (a temporary file, an empty run log) takes them over while it does, cleans up in the handler, and then
// lets the signal do what it did before. A handler may neither allocate nor lock: everything here works on fixed
// storage.
#include <csignal>

namespace StopSignals {

constexpr int kSignals[] = {SIGINT, SIGTERM, SIGHUP, SIGQUIT, SIGUSR1, SIGUSR2, SIGALRM, SIGXCPU, SIGVTALRM, SIGPROF};
constexpr int kCount = int(sizeof kSignals / sizeof kSignals[0]);

// Holding the signals back (CHeld) works for the calling thread only, and a signal sent to the process goes to
// any thread that does not hold it back: a thread of the toolkit's pool would take it while the main thread is in
// the middle of what the hold protects. So the main thread blocks them before any thread starts, every thread
// inherits that, and the main thread alone takes them again once the application exists. A thread started later
// (it inherits the main thread's mask) that is still handed one passes it on to the main thread (CTakeover).

// First thing in main, before any thread exists: blocks the stopping signals in the main thread, so that every
// thread started from now on starts with them blocked.
void BlockBeforeThreadsStart();
// In the main thread once the threads of start-up exist: it takes the stopping signals again (those the run was
// started with blocked stay blocked).
void TakeInMainThread();

// Holds the stopping signals back in the calling thread while alive, so that a handler never sees state half
// made.
class CHeld
{
public:
    CHeld();
    ~CHeld();
    CHeld(const CHeld&) = delete;
    CHeld& operator=(const CHeld&) = delete;

private:
    sigset_t m_Previous;
};

// One owner's hold on the stopping signals: what each did before, put back when the owner lets go or the signal
// comes. Meant for storage that lives as long as the process.
class CTakeover
{
public:
    // Installs handler for every stopping signal, except one the run was started with ignored: that stays ignored.
    // The handler runs in the main thread only: another thread that receives the signal blocks the stopping signals
    // for itself and sends it on to the main thread, which takes it once it no longer holds it back.
    void Take(void (*handler)(int));
    // Puts back what each signal did before Take.
    void GiveBack();
    // From the handler, once it has cleaned up: puts back what signal did before and raises it again, so that it
    // is delivered there when the handler returns (the default ends the run).
    void PassOn(int signal);

private:
    struct sigaction m_Previous[kCount];
    // The handler this module ran for each signal before Take (another owner's, when owners nest).
    void (*m_PreviousHandler[kCount])(int) = {};
    bool m_Taken[kCount] = {};
};

} // namespace StopSignals
