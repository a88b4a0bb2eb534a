#pragma once
#include "Documents/CDocument.h"

#include <QByteArray>
#include <cstdint>

// Raw bytes: a file's content for an SMS translator, one SMS PDU, or the
// joined output of a converter. The document owns its buffer.
class CDocumentAbstract : public CDocument
{
public:
    CDocumentAbstract() = default;
    ~CDocumentAbstract() override;

    CDocumentAbstract(const CDocumentAbstract&) = delete;
    CDocumentAbstract& operator=(const CDocumentAbstract&) = delete;

    int GetDocType() override { return ABSTRACT; }

    // Null when the document holds no bytes.
    const uchar* GetData() const { return m_pData; }
    uchar* GetData() { return m_pData; }
    uint32_t GetSize() const { return m_Size; }

    // Replaces the bytes by a copy of size bytes; false (and nothing changes)
    // when the copy cannot be allocated or data is null with a non-zero size.
    bool SetData(const void* data, uint32_t size);
    // Replaces the bytes by size zero bytes; false when they cannot be allocated.
    bool Allocate(uint32_t size);
    void Clear();
    QByteArray ToByteArray() const;

private:
    uchar* m_pData = nullptr;
    uint32_t m_Size = 0;
};
