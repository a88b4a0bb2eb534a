#include "FailedSource.h"
#include "CEngineHost.h"
#include "EngineSupport.h"
#include "Plugin/CConversionLog.h"
#include "Plugin/CPluginBase.h"
#include <QStringList>

namespace {

const char* FirstLineId(CFailedStep step)
{
    switch (step) {
    case CFailedStep::CONVERT:
        return "id_failed_to_convert";
    case CFailedStep::TRANSLATE:
        return "id_failed_to_translate";
    case CFailedStep::READ:
        break;
    }
    return "id_failed_to_load";
}

QStringList NonBlankLines(const QString& text)
{
    QStringList lines = text.split(QLatin1Char('\n'));
    lines.removeIf([](const QString& line) { return line.trimmed().isEmpty(); });
    return lines;
}

} // namespace

QString FailedSourceLines(CFailedStep step, const QString& source, const QString& reason)
{
    return WithFailureReason(Message(FirstLineId(step), source), reason);
}

void ReportFailedSource(CEngineHost& host, const QString& title, CFailedStep step, const QString& source,
                        const QString& reason)
{
    const QString lines = FailedSourceLines(step, source, reason);
    host.Log(lines + QLatin1Char('\n'));
    if (!title.isEmpty())
        host.Report(0, title, lines);
}

void ReportFailedSource(CEngineHost& host, const QString& title, CFailedStep step, const QString& source,
                        CPluginBase* plugin)
{
    const CConversionLog* log = plugin->GetConversionLog();
    const QString trace = LinesNotIn(log->GetSummaryText(), log->GetDetailedText());
    if (!trace.isEmpty())
        host.Log(trace);
    ReportFailedSource(host, title, step, source, log->GetDetailedText());
}

QString FailedParameterFileLines(const QString& path, const QString& reason, const QString& name)
{
    // The reader's own check tells a file it could not read from one it read and refused.
    const bool unreadable = !reason.isEmpty() && !BoundedFileRead::Check(path, FileLimits::MaxXmlBytes).isEmpty();
    const char* first = unreadable ? "id_param_read_failed" : "id_param_loaded_failed";
    return WithFailureReason(Message(first, name.isNull() ? path : name), reason);
}

QString LinesNotIn(const QString& summary, const QString& detailed)
{
    const QStringList held = NonBlankLines(detailed);
    QString rest;
    int next = 0;
    for (const QString& line : NonBlankLines(summary)) {
        if (next < held.size() && line == held.at(next))
            ++next;
        else
            rest += line + QLatin1Char('\n');
    }
    return rest;
}
