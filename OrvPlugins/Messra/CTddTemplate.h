#pragma once
#include "Text/CSourceEncodingType.h"
#include <QByteArray>
#include <QList>

class CSmsItem;

// The e-card template that a TDD message carries: a count octet, then per
// entry its type, its 16-bit little-endian length and its data.
class CTddTemplate
{
public:
    enum EntryType
    {
        ENTRY_TEXT = 0,
        ENTRY_PREDEFINED_SOUND = 1,
        ENTRY_PREDEFINED_ANIMATION = 2,
        ENTRY_MELODY = 3,
        ENTRY_PICTURE = 4,
        ENTRY_ANIMATION = 5
    };
    enum
    {
        // The count octet holds twice the count: 128 entries would wrap it to 0.
        MAX_ENTRIES = 127,
        MAX_ENTRY_OCTETS = 248 // data plus type and length
    };

    explicit CTddTemplate(const CSourceEncodingType& textFormat);

    // Builds every entry from the items in order; false, with the template
    // empty, when an item has no entry type, there are too many entries or
    // an entry is too large.
    bool Build(const QList<CSmsItem>& items);
    QByteArray Serialize() const;
    int GetEntryCount() const { return int(mEntries.size()); }

    // -1 for a media kind that has no template entry.
    static int EntryTypeOfKind(int kind);

private:
    struct Entry
    {
        int type;
        QByteArray data;
        uint16_t length;
    };

    bool AddItem(const CSmsItem& item);

    CSourceEncodingType mTextFormat;
    QList<Entry> mEntries;
};
