#pragma once

// A run without the window draws no text, yet the toolkit's font database,
// destroyed with the application object, asks fontconfig for its current
// configuration, and fontconfig answers by parsing the system's whole font
// configuration only to have it thrown away. Called before the application
// object goes, this hands fontconfig an empty configuration to give back
// instead. Only for runs that never show a window.
void ReleaseFontsWithoutLoadingThem();
