#pragma once
#include "Host/CFileInfo.h"

// A file description frozen at the moment it was taken. The file lists keep these, so that comparing them
// with a fresh listing tells which files changed on disk since.
class CFileInfoSnapshot : public CFileInfo
{
public:
    explicit CFileInfoSnapshot(const CFileInfo& info)
        : CFileInfo(info.GetFilePath()), m_IsFile(info.IsFile()), m_IsDir(info.IsDir()),
          m_IsReadable(info.IsReadable()), m_Extension(info.GetExtension(false)),
          m_CompleteExtension(info.GetExtension(true)), m_FileName(info.GetFileName()),
          m_BaseName(info.GetBaseName(false)), m_CompleteBaseName(info.GetBaseName(true)), m_Size(info.GetSize()),
          m_LastModified(info.GetLastModified()), m_DirPath(info.GetDirPath())
    {}

    bool IsFile() const override { return m_IsFile; }
    bool IsDir() const override { return m_IsDir; }
    bool IsReadable() const override { return m_IsReadable; }
    QString GetExtension(bool complete) const override { return complete ? m_CompleteExtension : m_Extension; }
    QString GetFileName() const override { return m_FileName; }
    QString GetBaseName(bool complete) const override { return complete ? m_CompleteBaseName : m_BaseName; }
    QString GetFilePath() const override { return m_Path; }
    uint32_t GetSize() const override { return m_Size; }
    QDateTime GetLastModified() const override { return m_LastModified; }
    CFileInfo* Clone() const override { return new CFileInfoSnapshot(*this); }
    QString GetDirPath() const override { return m_DirPath; }
    bool IsEqual(const CFileInfo* other) const override
    {
        return other && GetFilePath() == other->GetFilePath() && GetFileName() == other->GetFileName();
    }

private:
    bool m_IsFile;
    bool m_IsDir;
    bool m_IsReadable;
    QString m_Extension;
    QString m_CompleteExtension;
    QString m_FileName;
    QString m_BaseName;
    QString m_CompleteBaseName;
    uint32_t m_Size;
    QDateTime m_LastModified;
    QString m_DirPath;
};
