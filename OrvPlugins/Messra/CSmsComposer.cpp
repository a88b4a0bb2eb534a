#include "CSmsComposer.h"
#include "CSmsDeliverTpdu.h"
#include "CTddTemplate.h"
#include "Text/CGsm7Coder.h"
#include "Util/Assert.h"
#include <QFileInfo>

CSmsComposer::CSmsComposer() = default;

void CSmsComposer::SetTextFormat(const CSourceEncodingType& format, int mode)
{
    if (mode < MODE_EMS || mode > MODE_TDD_TEMPLATE)
        ASSERT((0));
    else
        mMode = mode;
    ASSERT(format.IsKnown());
    mTextFormat.Assign(format);
    mIsInitialised = format.IsKnown() && mMode != MODE_NONE;
}

void CSmsComposer::SetTitle(const QString& name)
{
    mIsTitleSet = true;
    TitleName = name;
}

bool CSmsComposer::GetTitle(QString& name) const
{
    name = TitleName;
    return mIsTitleSet;
}

bool CSmsComposer::AddItem(const CSmsItem& item)
{
    ASSERT((1) == mIsInitialised);
    if (!mIsInitialised)
        return false;
    // A single-file TDD message carries exactly one file.
    if (mMode == MODE_TDD_SINGLE && !mItemList.isEmpty())
        return false;
    // Beyond one entry more than a template can count, items are not kept: a
    // card naming the same large file thousands of times would fill memory.
    if (mMode == MODE_TDD_TEMPLATE && mItemList.size() > CTddTemplate::MAX_ENTRIES)
        return false;
    mItemList.append(item);
    return true;
}

bool CSmsComposer::IsEmsSendable(int kind)
{
    return kind >= CSmsItem::PREDEFINED_SOUND && kind <= CSmsItem::TEXT_TYPE;
}

int CSmsComposer::TddContentTypeOfKind(int kind)
{
    switch (kind) {
    case CSmsItem::IMELODY:
        return TDD_IMELODY;
    case CSmsItem::ONE_LINE_MELODY:
        return TDD_ONE_LINE_MELODY;
    case CSmsItem::POLYPHONIC_SEQUENCE:
        return TDD_SEQUENCE;
    case CSmsItem::SPEECH_CLIP:
        return TDD_SPEECH_CLIP;
    case CSmsItem::PICTURE:
        return TDD_PICTURE;
    case CSmsItem::ANIMATION:
        return TDD_ANIMATION;
    default:
        return -1;
    }
}

QString CSmsComposer::TitleBaseName() const
{
    if (!mIsTitleSet)
        return QString();
    const QString fileName = QFileInfo(TitleName).fileName();
    const int dot = fileName.indexOf(QLatin1Char('.'));
    return (dot < 0 ? fileName : fileName.left(dot)).toUpper();
}

void CSmsComposer::MakeTitleOctets(const QString& title, const CSourceEncodingType& format, QByteArray& octets,
                                   int& length)
{
    ASSERT(format.IsKnown());
    octets.clear();
    CGsm7Coder coder;
    coder.SetEncodingType(format.GetCode());
    QByteArray codes;
    coder.TextToSmBytes(title, codes);
    if (format.Is8bit()) {
        codes.truncate(CSmsDeliver::Gsm7WholePrefix(codes, TITLE_SEPTETS_MAX));
        CGsm7Coder::PackSeptets(0, codes, octets);
        length = int(codes.size());
    } else {
        codes.truncate(TITLE_UCS2_OCTETS_MAX);
        octets = codes;
        length = int(octets.size());
    }
}

void CSmsComposer::AppendDeliver(std::vector<CSmsDeliver>& delivers, bool concatenated) const
{
    delivers.emplace_back();
    delivers.back().Init(mTextFormat, concatenated, false, mMode != MODE_EMS);
}

bool CSmsComposer::AddEmsText(std::vector<CSmsDeliver>& delivers, const QString& text, bool concatenated)
{
    CGsm7Coder coder;
    coder.SetEncodingType(mTextFormat.GetCode());
    QByteArray encoded_text;
    coder.TextToSmBytes(text, encoded_text);
    bool fresh = false;
    while (!encoded_text.isEmpty()) {
        if (delivers.back().IsFull()) {
            AppendDeliver(delivers, concatenated);
            fresh = true;
        }
        const qsizetype before = encoded_text.size();
        delivers.back().AddPayload(encoded_text);
        if (encoded_text.size() == before) {
            // Not one whole character fits: the deliver is full. An empty one that
            // takes nothing never will, so give up rather than loop.
            if (fresh)
                return false;
            AppendDeliver(delivers, concatenated);
            fresh = true;
            continue;
        }
        fresh = false;
        if (delivers.size() > MAX_DELIVERS)
            return false;
    }
    return true;
}

bool CSmsComposer::AddEmsObject(std::vector<CSmsDeliver>& delivers, const CSmsItem& item, bool concatenated)
{
    const uint32_t identifier = CInformationElement::IEI_EMS_OBJECT_FIRST + uint32_t(item.GetType());
    CInformationElement element;
    element.SetEmsObject(identifier, item.GetContent(), uint32_t(delivers.back().GetTextPosition()));
    if (delivers.back().AddElement(element))
        return true;
    AppendDeliver(delivers, concatenated);
    element.SetEmsObject(identifier, item.GetContent(), uint32_t(delivers.back().GetTextPosition()));
    const bool is_transfer_complete = delivers.back().AddElement(element);
    // An object that does not fit an empty deliver would be lost: fail instead.
    ASSERT((1) == is_transfer_complete);
    return is_transfer_complete;
}

bool CSmsComposer::BuildEms(std::vector<CSmsDeliver>& delivers)
{
    for (const CSmsItem& item : mItemList)
        if (!item.IsEmsUsable() || !IsEmsSendable(item.GetType()))
            return false;

    bool concatenated = false;
    int concatenation_needed_loop_max = 1;
    for (int pass = 0; pass < concatenation_needed_loop_max; ++pass) {
        delivers.clear();
        AppendDeliver(delivers, concatenated);
        if (mIsOdi) {
            CInformationElement odi;
            odi.SetObjectDistributionIndicator();
            delivers.back().AddElement(odi);
        }
        for (const CSmsItem& item : mItemList) {
            const bool placed = item.IsText() ? AddEmsText(delivers, item.GetText(), concatenated)
                                              : AddEmsObject(delivers, item, concatenated);
            if (!placed || delivers.size() > MAX_DELIVERS)
                return false;
            if (delivers.size() > 1 && !concatenated) {
                concatenated = true;
                ++concatenation_needed_loop_max;
                ASSERT(concatenation_needed_loop_max < 3);
                break;
            }
        }
    }
    return !concatenated || Number(delivers);
}

bool CSmsComposer::BuildTdd(std::vector<CSmsDeliver>& delivers, int contentType, const QByteArray& payload)
{
    QByteArray titleOctets;
    int titleLength = 0;
    MakeTitleOctets(TitleBaseName(), mTextFormat, titleOctets, titleLength);
    CInformationElement tdd;
    tdd.SetTdd(titleOctets, titleLength, mTextFormat.IsUcs2(), contentType, mIsCopyrighted);

    bool concatenated = false;
    int concatenation_needed_loop_max = 1;
    for (int pass = 0; pass < concatenation_needed_loop_max; ++pass) {
        delivers.clear();
        QByteArray rest = payload;
        // An empty file still travels as one message with its element.
        do {
            AppendDeliver(delivers, concatenated);
            const bool is_append_complete = delivers.back().AddElement(tdd);
            ASSERT((1) == is_append_complete);
            const qsizetype before = rest.size();
            delivers.back().AddPayload(rest);
            if (!is_append_complete || (before > 0 && rest.size() == before) || delivers.size() > MAX_DELIVERS)
                return false;
        } while (!rest.isEmpty());
        if (delivers.size() > 1 && !concatenated) {
            concatenated = true;
            ++concatenation_needed_loop_max;
            ASSERT(concatenation_needed_loop_max < 3);
        }
    }
    if (concatenated && !Number(delivers))
        return false;

    int total = 0;
    for (const CSmsDeliver& dlv : delivers)
        total += int(dlv.GetPayload().size());
    for (CSmsDeliver& dlv : delivers) {
        ASSERT(1 == dlv.GetElements().size());
        if (dlv.GetElements().empty() || !dlv.GetElements().front().PatchTddTotal(uint16_t(total)))
            return false;
    }
    return true;
}

bool CSmsComposer::Number(std::vector<CSmsDeliver>& delivers)
{
    ASSERT(delivers.size() > 1);
    if (delivers.size() > MAX_DELIVERS)
        return false;
    const int total = int(delivers.size());
    for (int i = 0; i < total; ++i) {
        ASSERT((1) == delivers[size_t(i)].isConcatenated());
        delivers[size_t(i)].SetConcatenation(0, uint8_t(total), uint8_t(i + 1));
    }
    return true;
}

bool CSmsComposer::Export(QList<QByteArray>& ExportList)
{
    ASSERT(ExportList.isEmpty());
    ASSERT((1) == mIsInitialised);
    ASSERT((1) == mTextFormat.IsKnown());
    if (!ExportList.isEmpty() || !mIsInitialised || mItemList.isEmpty())
        return false;

    std::vector<CSmsDeliver> deliver_list;
    bool built = false;
    size_t limit = MAX_DELIVERS;
    switch (mMode) {
    case MODE_EMS:
        built = BuildEms(deliver_list);
        break;
    case MODE_TDD_SINGLE: {
        ASSERT((1) == (1 == mItemList.count()));
        const CSmsItem& item = mItemList.first();
        const int contentType = TddContentTypeOfKind(item.GetType());
        // A kind without a content type (a predefined sound) has no message to go in.
        built = item.IsTddSingleUsable() && contentType >= 0 && BuildTdd(deliver_list, contentType, item.GetContent());
        break;
    }
    case MODE_TDD_TEMPLATE: {
        limit = MAX_TEMPLATE_DELIVERS;
        CTddTemplate tddTemplate(mTextFormat);
        bool usable = true;
        for (const CSmsItem& item : mItemList)
            usable = usable && item.IsTddTemplateUsable();
        built = usable && tddTemplate.Build(mItemList) && BuildTdd(deliver_list, TDD_TEMPLATE, tddTemplate.Serialize());
        break;
    }
    default:
        ASSERT((0));
        break;
    }
    if (!built || deliver_list.empty() || deliver_list.size() > limit)
        return false;

    QList<QByteArray> chunks;
    for (const CSmsDeliver& dlv : deliver_list) {
        CSmsDeliverTpdu tpdu;
        QByteArray bin_deliver_array;
        if (!tpdu.Build(dlv, mMode, mTextFormat.IsUcs2()) || !tpdu.Serialize(bin_deliver_array))
            return false;
        chunks.append(bin_deliver_array);
    }
    ExportList = chunks;
    return true;
}
