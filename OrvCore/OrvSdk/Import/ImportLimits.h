#pragma once
#include <QtGlobal>

// Bounds that keep a hostile or broken source file from exhausting memory.
namespace ImportLimits {
// Largest side of a picture or animation canvas an importer builds.
constexpr int MaxPictureSide = 4096;
// Most frames one animation may have: far more than any phone shows, few enough that a description naming a
// picture half a million times is refused from its count before any picture is decoded.
constexpr int MaxAnimationFrames = 1000;
// Most bytes all frames of one animation may take together.
constexpr qint64 MaxAnimationBytes = qint64(256) * 1024 * 1024;

// Bytes as whole megabytes for a message, rounded up so that anything over a
// limit never reads as the limit itself.
constexpr qint64 MegabytesRoundedUp(qint64 bytes)
{
    return (bytes + 1024 * 1024 - 1) / (1024 * 1024);
}
} // namespace ImportLimits
