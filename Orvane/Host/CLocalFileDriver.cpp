#include "CLocalFileDriver.h"
#include "CLocalFileInfo.h"
#include "Util/SafeFileWrite.h"
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <limits>
#include <new>

namespace {

QDir::Filters TypeFilters(int typeFlags)
{
    QDir::Filters filters;
    if (typeFlags & CFileDriver::FILES)
        filters |= QDir::Files;
    if (typeFlags & CFileDriver::DIRS)
        filters |= QDir::Dirs;
    // Letters of a pattern match either case.
    return filters | QDir::NoDotAndDotDot;
}

QDir::SortFlags SortFlags(int sortFlags)
{
    QDir::SortFlags flags;
    switch (sortFlags & 3) {
    case CFileDriver::SORT_NAME:
        flags = QDir::Name;
        break;
    case CFileDriver::SORT_SIZE:
        flags = QDir::Size;
        break;
    case CFileDriver::SORT_TIME:
        flags = QDir::Time;
        break;
    default:
        flags = QDir::Unsorted;
        break;
    }
    if (sortFlags & CFileDriver::SORT_REVERSED)
        flags |= QDir::Reversed;
    if (sortFlags & CFileDriver::SORT_IGNORE_CASE)
        flags |= QDir::IgnoreCase;
    if (sortFlags & CFileDriver::SORT_DIRS_FIRST)
        flags |= QDir::DirsFirst;
    return flags;
}

} // namespace

CLocalFileDriver::CLocalFileDriver() : CFileDriver(nullptr) {}

CLocalFileDriver::~CLocalFileDriver() = default;

uint32_t CLocalFileDriver::GetFileSize(const QString& path)
{
    const QFileInfo info(path);
    if (!info.exists())
        return 0;
    const qint64 size = info.size();
    if (size > std::numeric_limits<uint32_t>::max())
        return std::numeric_limits<uint32_t>::max();
    return size < 0 ? 0 : static_cast<uint32_t>(size);
}

bool CLocalFileDriver::Exists(const QString& path)
{
    return !path.isEmpty() && QFileInfo::exists(path);
}

bool CLocalFileDriver::CreateEmptyFile(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadWrite | QIODevice::Truncate))
        return false;
    file.close();
    return true;
}

bool CLocalFileDriver::RemoveFile(const QString& path)
{
    return QFile::remove(path);
}

unsigned char* CLocalFileDriver::ReadFile(const QString& path, uint32_t* size, unsigned char* buffer,
                                          uint32_t bufferCapacity)
{
    if (size)
        *size = 0;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return nullptr;
    const qint64 fileSize = file.size();
    if (fileSize <= 0 || fileSize > std::numeric_limits<uint32_t>::max())
        return nullptr;
    const uint32_t length = static_cast<uint32_t>(fileSize);
    if (buffer && length > bufferCapacity)
        return nullptr;

    unsigned char* target = buffer;
    if (!target) {
        target = new (std::nothrow) unsigned char[length];
        if (!target)
            return nullptr;
    }
    const qint64 read = file.read(reinterpret_cast<char*>(target), length);
    if (read < 0) {
        if (target != buffer)
            delete[] target;
        return nullptr;
    }
    if (size)
        *size = static_cast<uint32_t>(read);
    return target;
}

bool CLocalFileDriver::WriteFile(const QString& path, const unsigned char* data, uint32_t size)
{
    if (!data && size)
        return false;
    return AppendBytesToFile(path, QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size)));
}

bool CLocalFileDriver::SetCurrentDir(const QString& path)
{
    return !path.isEmpty() && QDir::setCurrent(path);
}

QString CLocalFileDriver::GetCurrentDir()
{
    return QDir::currentPath();
}

bool CLocalFileDriver::CdUp()
{
    QDir dir(QDir::currentPath());
    if (!dir.cdUp())
        return false;
    return QDir::setCurrent(dir.absolutePath());
}

CFileInfoList* CLocalFileDriver::GetEntryList(const QString& pattern, int typeFlags, int sortFlags)
{
    m_EntryList.clear();
    QDir dir(QDir::currentPath());
    if (!pattern.isEmpty())
        dir.setNameFilters(pattern.split(QLatin1Char(';'), Qt::SkipEmptyParts));
    QFileInfoList entries = dir.entryInfoList(TypeFilters(typeFlags), SortFlags(sortFlags));
    // The toolkit ignores "folders first" when it does not sort; the order of each kind stays as listed.
    if (sortFlags & SORT_DIRS_FIRST)
        std::stable_partition(entries.begin(), entries.end(), [](const QFileInfo& entry) { return entry.isDir(); });
    for (const QFileInfo& entry : entries) {
        const QString name = entry.fileName();
        if (name == QLatin1String(".") || name == QLatin1String(".."))
            continue;
        m_EntryList.append(new CLocalFileInfo(entry.absoluteFilePath()));
    }
    return &m_EntryList;
}

CFileInfoList* CLocalFileDriver::GetDirList()
{
    m_DirList.clear();
    const QDir dir(QDir::currentPath());
    const QFileInfoList entries = dir.entryInfoList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Unsorted);
    for (const QFileInfo& entry : entries) {
        auto* item = new CLocalFileInfo(entry.absoluteFilePath());
        m_DirItems.append(item);
        m_DirList.append(item);
    }
    return &m_DirList;
}

CFileInfoList* CLocalFileDriver::GetDrives()
{
    m_EntryList.clear();
    for (const QFileInfo& root : QDir::drives())
        m_EntryList.append(new CLocalFileInfo(root.absolutePath()));
    return &m_EntryList;
}
