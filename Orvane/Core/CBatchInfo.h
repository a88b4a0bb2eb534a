#pragma once
#include <QList>
#include <QString>
#include <QStringList>

// One converter's share of a batch run.
class CBatchInfo
{
public:
    // converterIndex is a position in GetEntireList of the current profile; a null or empty parameter file
    // name stands for the converter's default parameters.
    CBatchInfo(const QStringList& sourceFiles, int converterIndex, const QString& parametersFileName,
               const QString& destPath)
        : mSourceFiles(sourceFiles), mConverterIndex(converterIndex), mParametersFileName(parametersFileName),
          mDestPath(destPath)
    {}

    QStringList GetSourceFileList() const { return mSourceFiles; }
    int GetConverterIndex() const { return mConverterIndex; }
    QString GetParametersFileName() const { return mParametersFileName; }
    QString GetDestPath() const { return mDestPath; }

    QStringList mSourceFiles;
    int mConverterIndex;
    QString mParametersFileName;
    QString mDestPath;
};

// An ordered list of batch entries that owns them: clearing or destroying it deletes every entry.
class CBatchInfoList
{
public:
    CBatchInfoList() = default;
    ~CBatchInfoList() { clear(); }
    CBatchInfoList(const CBatchInfoList&) = delete;
    CBatchInfoList& operator=(const CBatchInfoList&) = delete;

    void append(CBatchInfo* entry)
    {
        if (entry)
            m_Entries.append(entry);
    }
    int count() const { return int(m_Entries.size()); }
    bool isEmpty() const { return m_Entries.isEmpty(); }
    // Null outside the list.
    CBatchInfo* at(int index) const { return index >= 0 && index < m_Entries.size() ? m_Entries.at(index) : nullptr; }
    void clear()
    {
        qDeleteAll(m_Entries);
        m_Entries.clear();
    }

private:
    QList<CBatchInfo*> m_Entries;
};
