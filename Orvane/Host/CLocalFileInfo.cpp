#include "CLocalFileInfo.h"
#include <limits>

CLocalFileInfo::CLocalFileInfo(const QString& path) : CFileInfo(path), m_Info(path) {}

const QFileInfo& CLocalFileInfo::Fresh() const
{
    m_Info.refresh();
    return m_Info;
}

bool CLocalFileInfo::IsFile() const
{
    return Fresh().isFile();
}

bool CLocalFileInfo::IsDir() const
{
    return Fresh().isDir();
}

bool CLocalFileInfo::IsReadable() const
{
    return Fresh().isReadable();
}

QString CLocalFileInfo::GetExtension(bool complete) const
{
    return complete ? m_Info.completeSuffix() : m_Info.suffix();
}

QString CLocalFileInfo::GetFileName() const
{
    return m_Info.fileName();
}

QString CLocalFileInfo::GetBaseName(bool complete) const
{
    return complete ? m_Info.completeBaseName() : m_Info.baseName();
}

QString CLocalFileInfo::GetFilePath() const
{
    return m_Info.filePath();
}

uint32_t CLocalFileInfo::GetSize() const
{
    const qint64 size = Fresh().size();
    if (size < 0)
        return 0;
    if (size > std::numeric_limits<uint32_t>::max())
        return std::numeric_limits<uint32_t>::max();
    return static_cast<uint32_t>(size);
}

QDateTime CLocalFileInfo::GetLastModified() const
{
    return Fresh().lastModified();
}

CFileInfo* CLocalFileInfo::Clone() const
{
    return new CLocalFileInfo(GetFilePath());
}

QString CLocalFileInfo::GetDirPath() const
{
    return m_Info.absolutePath();
}

bool CLocalFileInfo::IsEqual(const CFileInfo* other) const
{
    if (!other)
        return false;
    return GetFilePath() == other->GetFilePath() && GetFileName() == other->GetFileName();
}
