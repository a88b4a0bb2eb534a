#include "DynamicLibrary.h"
#include <QByteArray>
#include <QtGlobal>
#include <cerrno>
#include <cstring>
#include <dlfcn.h>
#include <new>

namespace {

void ReportLoaderError(const char* what)
{
    const char* error = dlerror();
    qDebug("%s: %s", what, error ? error : "unknown error");
}

} // namespace

HMODULE LoadLibraryA(const char* path)
{
    if (!path || !*path)
        return nullptr;
    QByteArray file(path);
    if (!file.contains('/'))
        file.prepend("./");
    HMODULE module = dlopen(file.constData(), RTLD_NOW | RTLD_LOCAL);
    if (!module) {
        const char* error = dlerror();
        // A library that cannot be mapped for want of memory is no missing plug-in: start-up says what lacks. The
        // loader says so only in its text (its errno is not kept): a segment it could not map, or the system's
        // own words.
        if (error && (std::strstr(error, "failed to map segment") || std::strstr(error, std::strerror(ENOMEM))))
            throw std::bad_alloc();
        qDebug("LoadLibrary: %s", error ? error : "unknown error");
    }
    return module;
}

void* GetProcAddress(HMODULE module, const char* name)
{
    if (!module || !name)
        return nullptr;
    dlerror();
    void* address = dlsym(module, name);
    if (!address)
        ReportLoaderError("GetProcAddress");
    return address;
}

bool FreeLibrary(HMODULE module)
{
    if (!module)
        return false;
    if (dlclose(module) != 0) {
        ReportLoaderError("FreeLibrary");
        return false;
    }
    return true;
}
