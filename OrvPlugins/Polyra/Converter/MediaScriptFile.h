#pragma once
// The media script of this converter: the file ".emi" in the source's folder (the current folder while the
// converter runs), whose lines place pictures and texts in the sequence. The converter reads it, and names it to
// the host's check of its run log, both from here; no other module knows the file.
#include <QByteArray>
#include <QString>
#include <QtGlobal>

namespace MediaScript {

// A script is a few lines; anything larger is no script.
constexpr qint64 MaxBytes = 64 * 1024;

// The script a source in folder is converted with.
QString PathIn(const QString& folder);

enum Outcome
{
    Read,
    Absent, // nothing there, or a file that cannot be opened: the conversion goes on without a script
    Refused // not a regular file (a FIFO, a folder, a device) or larger than MaxBytes: `reason`, or `size` when larger
};

// Reads the whole script at path into bytes, never more than MaxBytes and never from a file that could block.
Outcome ReadFile(const QString& path, QByteArray& bytes, QString& reason, qint64& size);

} // namespace MediaScript
