#pragma once
#include <QString>

// Base of every in-memory media item passed between importers, converters and the host.
class CDocument
{
public:
    enum DOCTYPE
    {
        ABSTRACT = 1,
        WAVE = 2,
        MIDI = 4,
        MELODY = 8,
        PICTURE = 16,
        ANIMATION = 32
    };

    CDocument() = default;
    virtual ~CDocument() = default;
    virtual int GetDocType() = 0;

    const QString& GetName() const { return m_Name; }
    void SetName(const QString& name) { m_Name = name; }

protected:
    CDocument(const CDocument&) = default;
    CDocument& operator=(const CDocument&) = default;

    QString m_Name;
};
