#pragma once
#include "Plugin/CPluginBase.h"

#include <QStringList>
#include <functional>

class CEcardDocument;
class CSmsComposer;
class CSmsItem;

// What the EMS and the TDD translator do alike: raw documents in and out,
// their own list of input extensions, the walk over an e-card's entries and
// the export of the composed messages.
class CSmsTranslator : public CPluginBase
{
public:
    int UnloadResources() override;
    void SetParameters(CParameters* parameters) override;
    int GetDocumentType() override;
    int GetPreviewDocumentType() override;
    int GetConverterType() override;
    int GetImportExtensionCount() override;
    QString GetImportExtension(int index) override;
    // A raw document holding a copy of the bytes.
    CDocument* Import(const QByteArray& bytes) override;
    // "TruncateMelody" is editable only for a melody, or for an e-card that holds one.
    void FilterParametersWithDocument(CParameters* parameters, CDocument* document) override;
    // The media files the entries of an e-card read; a single media file names none (it is read itself).
    QStringList GetNamedFiles(const QString& sourcePath, qint64 sourceByteLimit) override;

protected:
    static constexpr int NamedSkippedEntries = 10;

    // rootTag: the root element of the e-cards this translator reads.
    CSmsTranslator(const QString& rootTag, const QStringList& importExtensions);

    // Opens the bytes as an e-card of this translator's root; logs why it is none.
    bool OpenEcard(CEcardDocument& ecard, const QByteArray& bytes);
    const QString& GetRootTag() const { return m_RootTag; }

    // Takes an item built from an entry (valid: it was classified and read) and
    // says whether the message goes on.
    using ItemTaker = std::function<bool(const CSmsItem& item, bool valid, const QString& ref)>;

    // Builds an item from every entry of the checked e-card, in order, logs its
    // messages and hands it to take; stops at the first it refuses. Entries that
    // are no item are skipped: the first NamedSkippedEntries are named in the
    // log, one line counts the others. Items carry the number of text
    // characters before them.
    bool ReadEcardItems(CEcardDocument& ecard, const QString& baseFolder, bool truncate, int packetCount,
                        const ItemTaker& take);

    // The composed messages become the output chunks; failureText is logged
    // when they cannot be built.
    bool ExportMessages(CSmsComposer& composer, const QString& failureText);

    // The end of every conversion: the bar full, pending events processed.
    void ReportDone();

private:
    QString m_RootTag;
    QStringList m_ImportExtensions;
};
