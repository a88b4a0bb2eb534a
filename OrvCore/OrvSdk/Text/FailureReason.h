#pragma once
// The line of a box, under the line that names a file, that says why the file failed: a sentence of its own in
// the language file's words, whatever the reason's form. A reader's own sentence ("The picture could not be
// read.") stands as it is; a reason that says what the file is ("is empty", "has more than...") gets the file as
// its subject; any other ("Permission denied") closes with a period. A reason of several lines keeps them, less
// the blank ones.
#include <QString>

// The reason line (the reason without the blanks and line feeds around it); empty for an empty reason.
QString FailureReasonLine(const QString& reason);

// text, then on a line of its own the reason line; text alone without a reason.
QString WithFailureReason(const QString& text, const QString& reason);
