#pragma once
#include "CFileDriver.h"
#include "CFileInfoList.h"

// The file driver of the local disk. Listings read the process's current folder at the moment of the call.
// A returned list stays the driver's and is refilled by the next listing of the same kind.
class CLocalFileDriver : public CFileDriver
{
    Q_OBJECT
public:
    CLocalFileDriver();
    ~CLocalFileDriver() override;

    // 0 for a file that does not exist.
    uint32_t GetFileSize(const QString& path) override;
    bool Exists(const QString& path) override;
    // Creates the file or empties it.
    bool CreateEmptyFile(const QString& path) override;
    bool RemoveFile(const QString& path) override;
    // Reads the whole file; null for a missing, unreadable or empty file. Without a buffer a new block of the
    // file's size is returned, which the caller frees with delete[]. A caller's buffer is used only when the
    // file fits in bufferCapacity bytes; a larger file is a failure, never an overrun.
    unsigned char* ReadFile(const QString& path, uint32_t* size, unsigned char* buffer = nullptr,
                            uint32_t bufferCapacity = 0) override;
    // Appends the block, creating the file when missing; true only when every byte was written (those written
    // stay).
    bool WriteFile(const QString& path, const unsigned char* data, uint32_t size) override;
    bool SetCurrentDir(const QString& path) override;
    QString GetCurrentDir() override;
    // False, with nothing changed, at the root.
    bool CdUp() override;
    // Entries of the current folder without "." and ".."; letters of the pattern match either case and
    // ";" separates several patterns. An empty pattern lists every entry of the requested types.
    CFileInfoList* GetEntryList(const QString& pattern, int typeFlags, int sortFlags) override;
    // Sub-folders of the current folder, unsorted. Their items stay valid as long as the driver lives,
    // also after later folder listings.
    CFileInfoList* GetDirList() override;
    // One item per file-system root.
    CFileInfoList* GetDrives() override;

private:
    CFileInfoList m_EntryList{true};
    CFileInfoList m_DirList{false};
    // Owns every item that a folder listing ever handed out.
    CFileInfoList m_DirItems{true};
};
