#include "Text/CLanguageResources.h"

#include "Text/LanguageIndex.h"
#include "Util/BoundedFileRead.h"

#include <QDateTime>
#include <QFileInfo>

namespace {
// What the library copy holds: the file parsed last (with the size and time
// it had then), or the one to parse on first use.
struct LoadState
{
    QString parsedPath;
    qint64 parsedSize = -1;
    QDateTime parsedTime;
    QString pendingPath;
};

LoadState& State()
{
    static LoadState state;
    return state;
}

bool SameFileAsParsed(const QFileInfo& info)
{
    const LoadState& state = State();
    return !state.parsedPath.isEmpty() && info.absoluteFilePath() == state.parsedPath && info.size() == state.parsedSize
           && info.lastModified() == state.parsedTime;
}
} // namespace

LanguageIndex& CLanguageResources::Texts()
{
    static LanguageIndex texts;
    return texts;
}

QString& CLanguageResources::ResourceFolder()
{
    static QString folder;
    return folder;
}

bool CLanguageResources::Load(const QString& path, QString* reason)
{
    LoadState& state = State();
    state = LoadState();
    Texts().Clear();
    if (path.isEmpty())
        return false;
    // Checked before it is opened: a FIFO in its place would block start-up for good.
    QByteArray bytes;
    QString why;
    if (!BoundedFileRead::Read(path, FileLimits::MaxXmlBytes, bytes, why) || !Texts().Read(bytes)) {
        if (reason)
            *reason = why.isEmpty() ? QStringLiteral("is not a well-formed XML file") : why;
        return false;
    }
    const QFileInfo info(path);
    state.parsedPath = info.absoluteFilePath();
    state.parsedSize = info.size();
    state.parsedTime = info.lastModified();
    return true;
}

bool CLanguageResources::LoadOnFirstUse(const QString& path)
{
    const QFileInfo info(path);
    if (!path.isEmpty() && SameFileAsParsed(info) && !Texts().IsEmpty()) {
        State().pendingPath.clear();
        return true;
    }
    if (path.isEmpty() || !info.isFile() || !info.isReadable())
        return Load(QString());
    Load(QString());
    State().pendingPath = info.absoluteFilePath();
    return true;
}

bool CLanguageResources::EnsureParsed()
{
    LoadState& state = State();
    if (state.pendingPath.isEmpty())
        return !Texts().IsEmpty();
    const QString path = state.pendingPath;
    return Load(path);
}

void CLanguageResources::SetResourceFolder(const QString& folder)
{
    ResourceFolder() = folder;
}

QString CLanguageResources::GetResourceFolder()
{
    return ResourceFolder();
}

QString CLanguageResources::Lookup(const QString& className, const QString& section, const QString& itemTag,
                                   const QString& id)
{
    if (!EnsureParsed())
        return QString();
    return Texts().Find(className, section, itemTag, id);
}

QString CLanguageResources::GetMessage(const QString& className, const QString& id)
{
    return Lookup(className, QStringLiteral("message"), QStringLiteral("string"), id);
}

QString CLanguageResources::GetPicture(const QString& className, const QString& id)
{
    const QString value = Lookup(className, QStringLiteral("picture"), QStringLiteral("image"), id);
    return value.isNull() ? QString() : ResourceFolder() + value;
}

QString CLanguageResources::GetSound(const QString& className, const QString& id)
{
    const QString value = Lookup(className, QStringLiteral("sound"), QStringLiteral("wave"), id);
    return value.isNull() ? QString() : ResourceFolder() + value;
}
