#include "LibrariesNeeded.h"
#include <QFile>
#include <QProcess>
#include <dlfcn.h>
#include <link.h>

namespace {
// The dynamic loader that started this process: the interpreter its executable names.
int TakeInterpreter(struct dl_phdr_info* info, size_t, void* interpreter)
{
    for (int i = 0; i < info->dlpi_phnum; ++i) {
        if (info->dlpi_phdr[i].p_type == PT_INTERP) {
            *static_cast<QByteArray*>(interpreter) =
                QByteArray(reinterpret_cast<const char*>(info->dlpi_addr + info->dlpi_phdr[i].p_vaddr));
            return 1;
        }
    }
    return 0;
}

QString Interpreter()
{
    QByteArray interpreter;
    dl_iterate_phdr(TakeInterpreter, &interpreter);
    return QFile::decodeName(interpreter);
}

// A line of the loader's listing: "name => path (address)", "path (address)", or a library it found nowhere.
QString ListedPath(const QByteArray& line)
{
    QByteArray text = line.trimmed();
    const int arrow = int(text.indexOf(" => "));
    if (arrow >= 0)
        text = text.mid(arrow + 4);
    const int address = int(text.lastIndexOf(" (0x"));
    if (address >= 0)
        text = text.left(address);
    return text.startsWith('/') ? QFile::decodeName(text) : QString();
}
} // namespace

namespace LibrariesNeeded {

bool IsLoaded(const QString& module)
{
    void* handle = ::dlopen(QFile::encodeName(module).constData(), RTLD_LAZY | RTLD_NOLOAD);
    if (!handle)
        return false;
    ::dlclose(handle);
    return true;
}

QStringList Of(const QString& module)
{
    const QString interpreter = Interpreter();
    if (interpreter.isEmpty() || !QFile::exists(module))
        return QStringList();
    QProcess loader;
    loader.setStandardInputFile(QProcess::nullDevice());
    loader.setStandardErrorFile(QProcess::nullDevice());
    loader.start(interpreter, {QStringLiteral("--list"), module});
    if (!loader.waitForFinished(10000)) {
        loader.kill();
        loader.waitForFinished(1000);
        return QStringList();
    }
    QStringList libraries;
    for (const QByteArray& line : loader.readAllStandardOutput().split('\n')) {
        const QString path = ListedPath(line);
        if (!path.isEmpty() && path != module)
            libraries.append(path);
    }
    return libraries;
}

} // namespace LibrariesNeeded
