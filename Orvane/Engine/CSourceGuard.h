#pragma once
#include <QString>
#include <functional>
#include <initializer_list>

class CMainWindowLink;
class COrvEngine;
class CPluginBase;

// The one guard around the work on one source, from its first byte read to its last byte written (reading, the
// run log's check, import, conversion or translation, previews, saving), in every path: the command line, the
// batch, media and SMS tabs. An allocation that fails anywhere in it, thrown as std::bad_alloc or turned into one
// where it was found (Util/AllocationFailure.h), ends that source alone: the files it wrote are put back as it found
// them (a replaced file gets its old bytes back, a created one goes, the plug-ins' files too), the
// plug-ins that worked on it let go of their output and their progress, the engine keeps nothing the work made,
// and then the run log (and, given a title, a box) says the source failed for want of memory. Saying so never ends
// the program: a box that cannot be built leaves the line on the status bar, beside the run log's. The caller goes
// on.
class CSourceGuard
{
public:
    // title: the box's title in a window; empty: the run log alone (a batch sums its failures up at its end).
    CSourceGuard(COrvEngine& engine, const QString& source, const QString& title = QString());

    // Runs step; false when it ran out of memory, and all of the above is then done. release, when given, lets go
    // of what the caller holds for the source, before the failure is said.
    bool Run(std::initializer_list<CPluginBase*> plugins, const std::function<void()>& step,
             const std::function<void()>& release = {});

private:
    // The run log's line, and the box (or, when it cannot be built, the window's status bar) given a title.
    void Report(CMainWindowLink* window) const;

    COrvEngine& m_Engine;
    QString m_Source;
    QString m_Title;
};
