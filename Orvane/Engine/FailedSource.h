#pragma once
// The lines that say a file failed, written by one routine for the box, the window's run log, the batch's and
// the command line's: the first names the file and the step it failed at ("The file x.png could not be read."),
// the next says why ("Reason: The picture could not be read."), and no line is empty.
#include <QString>

class CEngineHost;
class CPluginBase;

// The step a source failed at: its bytes or its reader (read), its converter (converted) or its translator
// (translated).
enum class CFailedStep
{
    READ,
    CONVERT,
    TRANSLATE
};

// The lines of a failed source, without a final line feed; the first line alone without a reason.
QString FailedSourceLines(CFailedStep step, const QString& source, const QString& reason);

// The source failed for the reason: the run log gets its lines and, with a title (the window's tabs), a box
// shows them; the batch and the command line pass none, as their summary sends the user to the log.
void ReportFailedSource(CEngineHost& host, const QString& title, CFailedStep step, const QString& source,
                        const QString& reason);

// The same for what the plug-in's conversion log says: its detailed text is the reason, and the lines of its
// summary that the reason does not hold (a converter's trace of its steps) go to the run log first.
void ReportFailedSource(CEngineHost& host, const QString& title, CFailedStep step, const QString& source,
                        CPluginBase* plugin);

// The lines of a parameter file that was not loaded: "... could not be read." when its reader could not read
// the file at path, "... could not be loaded." when it read the file and refused it, then the reason line. The
// first line names the file by name (by path without one).
QString FailedParameterFileLines(const QString& path, const QString& reason, const QString& name = QString());

// The summary's lines, in order, less the blank ones and less those the detailed text holds in the same order.
QString LinesNotIn(const QString& summary, const QString& detailed);
