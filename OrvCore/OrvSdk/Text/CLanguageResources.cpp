#include "Text/CLanguageResources.h"

#include "Xml/CXmlFile.h"

#include <QDateTime>
#include <QFileInfo>

namespace {
const QString& ClassTag()
{
    static const QString tag = QStringLiteral("class");
    return tag;
}

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
    return !state.parsedPath.isEmpty() && info.absoluteFilePath() == state.parsedPath
           && info.size() == state.parsedSize && info.lastModified() == state.parsedTime;
}
} // namespace

CXmlFile& CLanguageResources::File()
{
    static CXmlFile file;
    return file;
}

QString& CLanguageResources::ResourceFolder()
{
    static QString folder;
    return folder;
}

bool CLanguageResources::Load(const QString& path)
{
    LoadState& state = State();
    state = LoadState();
    if (!File().Load(path))
        return false;
    const QFileInfo info(path);
    state.parsedPath = info.absoluteFilePath();
    state.parsedSize = info.size();
    state.parsedTime = info.lastModified();
    return true;
}

bool CLanguageResources::LoadOnFirstUse(const QString& path)
{
    const QFileInfo info(path);
    if (!path.isEmpty() && SameFileAsParsed(info) && File().HasDocument()) {
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
        return File().HasDocument();
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

QString CLanguageResources::Lookup(const QString& className, const QString& section,
                                   const QString& itemTag, const QString& id)
{
    if (!EnsureParsed())
        return QString();
    CXmlFile& file = File();
    if (!file.GoToElement(QString(), true, 0))
        return QString();

    // The first class of that name wins.
    const int classCount = file.CountElements(ClassTag());
    bool classFound = false;
    for (int index = 0; index < classCount && !classFound; ++index) {
        QString name;
        classFound = file.GoToElement(ClassTag(), true, index)
                     && file.GetStringAttribute(QStringLiteral("name"), name) && name == className;
    }
    if (!classFound || !file.GoToElement(section, false, 0))
        return QString();

    // An item with the right id but no value is passed over.
    const int itemCount = file.CountElements(itemTag);
    for (int index = 0; index < itemCount; ++index) {
        if (!file.GoToElement(itemTag, false, index))
            continue;
        QString itemId;
        QString value;
        const bool found = file.GetStringAttribute(QStringLiteral("id"), itemId) && itemId == id
                           && file.GetStringAttribute(QStringLiteral("value"), value);
        file.GoToParent();
        if (found)
            return value;
    }
    return QString();
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
