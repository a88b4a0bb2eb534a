#pragma once
#include <QByteArray>
#include <QString>

// Reading the file an e-card entry or a single source names.
namespace SmsMediaFile {
// Reads a regular file of at most maxSize octets. On failure appends the
// reason to messages and returns false.
bool Read(const QString& path, qint64 maxSize, QByteArray& content, QString& messages);
} // namespace SmsMediaFile
