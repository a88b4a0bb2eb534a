#pragma once
#include <QDateTime>
#include <QString>
#include <cstdint>

// One file or folder as the panels and the host pass it around, identified by its path.
class CFileInfo
{
public:
    explicit CFileInfo(const QString& path) : m_Path(path) {}
    virtual ~CFileInfo() = default;

    virtual bool IsFile() const = 0;
    virtual bool IsDir() const = 0;
    virtual bool IsReadable() const = 0;
    // complete: everything after the first "."; otherwise after the last one.
    virtual QString GetExtension(bool complete) const = 0;
    virtual QString GetFileName() const = 0;
    // complete: the name up to its last "."; otherwise up to its first one.
    virtual QString GetBaseName(bool complete) const = 0;
    virtual QString GetFilePath() const = 0;
    virtual uint32_t GetSize() const = 0;
    virtual QDateTime GetLastModified() const = 0;
    // A new description of the same path; the caller owns it.
    virtual CFileInfo* Clone() const = 0;
    // The absolute path of the folder that holds the file.
    virtual QString GetDirPath() const = 0;
    // Same path and same name, compared exactly (letter case counts).
    virtual bool IsEqual(const CFileInfo* other) const = 0;

protected:
    CFileInfo(const CFileInfo&) = default;
    CFileInfo& operator=(const CFileInfo&) = default;

    QString m_Path;
};
