#pragma once
// Where the coders report. The coders run far below the converter and carry
// no object, so a conversion names its log here for the length of the run;
// while none is named, reports go nowhere.
#include <QString>

class CConversionLog;

void SetCurrentLog(CConversionLog* log);
CConversionLog* GetCurrentLog();
// The summary text only: traces and listings.
void LogTrace(const QString& text);
// Summary and detailed text: failures.
void LogError(const QString& text);
// The failure text of a "CPlexa" message id from the language file, its "%s"
// (if any) filled with argument, ended by a line break.
void LogErrorId(const char* id, const QString& argument = QString());
