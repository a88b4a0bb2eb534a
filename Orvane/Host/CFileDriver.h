#pragma once
#include <QObject>
#include <QString>
#include <cstdint>

class CFileInfoList;

// File-system access of the host and the panels: listings, current folder and whole-file reads and writes.
class CFileDriver : public QObject
{
    Q_OBJECT
public:
    // Type flags of GetEntryList.
    enum
    {
        FILES = 1,
        DIRS = 2
    };
    // Sort flags of GetEntryList: the low two bits choose the key, the others modify it.
    enum
    {
        SORT_NAME = 0,
        SORT_SIZE = 1,
        SORT_TIME = 2,
        UNSORTED = 3,
        SORT_REVERSED = 16,
        SORT_IGNORE_CASE = 32,
        SORT_DIRS_FIRST = 64
    };

    using QObject::QObject;

    virtual uint32_t GetFileSize(const QString& path) = 0;
    virtual bool Exists(const QString& path) = 0;
    virtual bool CreateEmptyFile(const QString& path) = 0;
    virtual bool RemoveFile(const QString& path) = 0;
    virtual unsigned char* ReadFile(const QString& path, uint32_t* size, unsigned char* buffer = nullptr,
                                    uint32_t bufferCapacity = 0) = 0;
    virtual bool WriteFile(const QString& path, const unsigned char* data, uint32_t size) = 0;
    virtual bool SetCurrentDir(const QString& path) = 0;
    virtual QString GetCurrentDir() = 0;
    virtual bool CdUp() = 0;
    virtual CFileInfoList* GetEntryList(const QString& pattern, int typeFlags, int sortFlags) = 0;
    virtual CFileInfoList* GetDirList() = 0;
    virtual CFileInfoList* GetDrives() = 0;
};
