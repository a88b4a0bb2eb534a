#pragma once
#include "CFileInfo.h"
#include <QFileInfo>

// A file description on the local file system; every answer reflects the disk at the moment of the call.
class CLocalFileInfo : public CFileInfo
{
public:
    explicit CLocalFileInfo(const QString& path);

    bool IsFile() const override;
    bool IsDir() const override;
    bool IsReadable() const override;
    QString GetExtension(bool complete) const override;
    QString GetFileName() const override;
    QString GetBaseName(bool complete) const override;
    QString GetFilePath() const override;
    uint32_t GetSize() const override;
    QDateTime GetLastModified() const override;
    CFileInfo* Clone() const override;
    QString GetDirPath() const override;
    bool IsEqual(const CFileInfo* other) const override;

private:
    // Refreshed before each answer, so a description made before a file changed still tells the truth.
    const QFileInfo& Fresh() const;

    mutable QFileInfo m_Info;
};
