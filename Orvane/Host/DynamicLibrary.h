#pragma once
// A thin layer over dlopen shaped like the three Windows calls the host was designed around.

typedef void* HMODULE;

// Loads the library with every symbol bound now and kept local to it. A name without a folder is taken from
// the current directory, as the Windows loader did, never from the system search path. Null on failure.
HMODULE LoadLibraryA(const char* path);
// The address of an exported symbol; null when the module or the symbol is missing.
void* GetProcAddress(HMODULE module, const char* name);
// True when the module was released.
bool FreeLibrary(HMODULE module);
