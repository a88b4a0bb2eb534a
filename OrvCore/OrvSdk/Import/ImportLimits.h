#pragma once
#include <QtGlobal>

// Bounds that keep a hostile or broken source file from exhausting memory.
namespace ImportLimits {
// Largest side of a picture or animation canvas an importer builds.
constexpr int MaxPictureSide = 4096;
// Most bytes all frames of one animation may take together.
constexpr qint64 MaxAnimationBytes = qint64(256) * 1024 * 1024;
} // namespace ImportLimits
