#pragma once
#include "Documents/CDocument.h"
#include <QByteArray>

// The document the test importer makes from a file's bytes and the test exporter reads. Both plug-ins are
// built from this one definition, so the exporter may read what the importer wrote.
class CTestDocument : public CDocument
{
public:
    explicit CTestDocument(const QByteArray& text) : m_Text(text) {}

    int GetDocType() override { return MELODY; }
    const QByteArray& GetText() const { return m_Text; }

private:
    QByteArray m_Text;
};
