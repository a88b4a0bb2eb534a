#include "CTddTemplate.h"
#include "CSmsItem.h"
#include "Text/CGsm7Coder.h"
#include "Util/Assert.h"

CTddTemplate::CTddTemplate(const CSourceEncodingType& textFormat)
{
    ASSERT(textFormat.IsKnown());
    mTextFormat.Assign(textFormat);
}

int CTddTemplate::EntryTypeOfKind(int kind)
{
    switch (kind) {
    case CSmsItem::TEXT_TYPE:
        return ENTRY_TEXT;
    case CSmsItem::PREDEFINED_SOUND:
        return ENTRY_PREDEFINED_SOUND;
    case CSmsItem::PREDEFINED_ANIMATION:
        return ENTRY_PREDEFINED_ANIMATION;
    case CSmsItem::IMELODY:
    case CSmsItem::ONE_LINE_MELODY:
        return ENTRY_MELODY;
    case CSmsItem::PICTURE:
        return ENTRY_PICTURE;
    case CSmsItem::ANIMATION:
        return ENTRY_ANIMATION;
    default:
        return -1;
    }
}

bool CTddTemplate::Build(const QList<CSmsItem>& items)
{
    mEntries.clear();
    if (items.size() > MAX_ENTRIES)
        return false;
    for (const CSmsItem& item : items) {
        if (!AddItem(item)) {
            mEntries.clear();
            return false;
        }
    }
    return true;
}

bool CTddTemplate::AddItem(const CSmsItem& item)
{
    Entry entry;
    entry.type = EntryTypeOfKind(item.GetType());
    if (entry.type < 0)
        return false;
    if (entry.type == ENTRY_TEXT) {
        CGsm7Coder coder;
        coder.SetEncodingType(mTextFormat.GetCode());
        QByteArray codes;
        coder.TextToSmBytes(item.GetText(), codes);
        // GSM text counts septets, escapes included; UCS-2 counts octets.
        if (mTextFormat.Is8bit())
            CGsm7Coder::PackSeptets(0, codes, entry.data);
        else
            entry.data = codes;
        if (codes.size() > 0xFFFF)
            return false;
        entry.length = uint16_t(codes.size());
    } else {
        entry.data = item.GetContent();
        if (entry.data.size() > 0xFFFF)
            return false;
        entry.length = uint16_t(entry.data.size());
    }
    if (entry.data.size() + 3 > MAX_ENTRY_OCTETS)
        return false;
    mEntries.append(entry);
    return true;
}

QByteArray CTddTemplate::Serialize() const
{
    QByteArray bytes;
    bytes.append(char((mEntries.size() * 2) | (mTextFormat.IsUcs2() ? 1 : 0)));
    for (const Entry& entry : mEntries) {
        bytes.append(char(entry.type & 7));
        bytes.append(char(entry.length & 0xFF));
        bytes.append(char(entry.length >> 8));
        bytes.append(entry.data);
    }
    return bytes;
}
