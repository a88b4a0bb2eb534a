#pragma once
#include <QString>
#include <QtGlobal>

// A file's size as the file lists show it, short enough for their Size column: bytes below 1 KB, whole KB below
// 1 MB (rounded up, so no file of a byte or more shows as 0 KB), then MB and GB with one decimal.
QString FileSizeText(qint64 bytes);

// The size whose text is the widest of all: one byte short of 1 GB, shown as "1024.0 MB".
constexpr qint64 kWidestShownSize = qint64(1024) * 1024 * 1024 - 1;
