#pragma once
// Progress of a long melody operation: called with a percentage, 0 first.
// Converters pass a free function that forwards to their progress signal.
typedef void (*MelodyProgressCallback)(int percent);
