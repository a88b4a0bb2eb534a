#include "CSmsItem.h"
#include "Import/EcardEntries.h"
#include "Import/SourceNamedFiles.h"
#include "Plugin/CRunFiles.h"
#include "SmsMediaChecks.h"
#include "SmsMediaFile.h"
#include "SmsMelodyCut.h"
#include "Text/CLanguageResources.h"
#include "Text/ShownName.h"
#include "Util/Assert.h"

namespace {
qint64 s_MaxMediaSize = 0;
const CRunFiles* s_pRunFiles = nullptr;

enum
{
    MAX_PREDEFINED_ANIMATION = 5,
    MAX_PREDEFINED_SOUND = 9
};
} // namespace

void CSmsItem::SetMaxMediaSize(qint64 maxSize)
{
    s_MaxMediaSize = maxSize;
}

void CSmsItem::SetRunFiles(const CRunFiles* runFiles)
{
    s_pRunFiles = runFiles;
}

qint64 CSmsItem::GetMaxMediaSize()
{
    return s_MaxMediaSize;
}

void CSmsItem::Clear()
{
    *this = CSmsItem();
}

bool CSmsItem::SetContent(const QString& type, const QString& stype, const QString& ref, const QString& baseFolder,
                          bool truncateMelody, int melodyPacketCount, CProfile* profile, QString& messages,
                          int textPosition)
{
    if (mIsSetContent)
        Clear();
    ASSERT((0) == mIsSetContent);
    mIsSetContent = true;
    mRef = ref;
    mPath = SourceNamedFiles::PathIn(baseFolder, ref);
    mTextPosition = textPosition;
    mTruncateMelody = truncateMelody;
    mMelodyPacketCount = melodyPacketCount;
    mpProfile = profile;
    mpMessages = &messages;

    // Which entries read a file is the e-card's own rule, shared with the translators' list of the files a card
    // names: an item reads its file here, before it looks at the content, exactly when that rule says so.
    const EcardEntries::Kind kind = EcardEntries::Classify(type, stype);
    if (kind == EcardEntries::UnknownType) {
        mType = UNKNOWN_TYPE;
        messages += ShowName(type) + QStringLiteral(": unknown media type\n");
        mpMessages = nullptr;
        return false;
    }
    mType = MediaKindOf(kind);
    if (!EcardEntries::ReadsFile(kind) || Load())
        TakeContent(kind);
    // A known TYPE with a STYPE it does not take is no valid item, like a file that could not be read.
    if (!mIsValid) {
        messages += ShowName(ref) + QStringLiteral(" : File is not valid!\n");
        mIsEmsUsable = mIsTddSingleUsable = mIsTddTemplateUsable = false;
    } else if (mIsEmsChecked && !mIsEmsUsable)
        messages += ShowName(ref) + QStringLiteral(" : File is not EMS compatible\n");
    mpMessages = nullptr;
    mpProfile = nullptr;
    return mIsValid;
}

int CSmsItem::MediaKindOf(int entryKind)
{
    // In the order of EcardEntries::Kind. A user's animation is small until its size says otherwise.
    static const int kinds[] = {TEXT_TYPE,       PREDEFINED_SOUND, PREDEFINED_ANIMATION, LARGE_PICTURE,
                                SMALL_PICTURE,   VARIABLE_PICTURE, LARGE_ANIMATION,      SMALL_ANIMATION,
                                SMALL_ANIMATION, IMELODY,          POLYPHONIC_SEQUENCE,  SPEECH_CLIP,
                                ONE_LINE_MELODY, PICTURE,          ANIMATION,            UNKNOWN_TYPE,
                                UNKNOWN_TYPE};
    static_assert(sizeof kinds / sizeof kinds[0] == EcardEntries::UnknownType + 1, "one media kind per entry kind");
    return entryKind >= 0 && entryKind <= EcardEntries::UnknownType ? kinds[entryKind] : int(UNKNOWN_TYPE);
}

void CSmsItem::TakeContent(int entryKind)
{
    switch (EcardEntries::Kind(entryKind)) {
    case EcardEntries::Text:
        ClassifyText();
        break;
    case EcardEntries::LargePicture:
    case EcardEntries::LargeAnimation:
        CheckFixedObject(SmsMediaChecks::LARGE_OBJECT_OCTETS);
        break;
    case EcardEntries::SmallPicture:
    case EcardEntries::SmallAnimation:
        CheckFixedObject(SmsMediaChecks::SMALL_OBJECT_OCTETS);
        break;
    case EcardEntries::UserPicture:
        ClassifyUserPicture();
        break;
    case EcardEntries::PredefinedAnimation:
        ClassifyPredefined(MAX_PREDEFINED_ANIMATION);
        break;
    case EcardEntries::UserAnimation:
        ClassifyUserAnimation();
        break;
    case EcardEntries::PredefinedSound:
        ClassifyPredefined(MAX_PREDEFINED_SOUND);
        break;
    case EcardEntries::IMelody:
    case EcardEntries::OneLineMelody:
        ClassifyMelody();
        break;
    case EcardEntries::PolyphonicSequence:
    case EcardEntries::SpeechClip:
        mIsTddSingleUsable = true;
        break;
    case EcardEntries::Picture:
    case EcardEntries::Animation:
        mIsEmsChecked = true;
        mIsEmsUsable = entryKind == EcardEntries::Picture ? SmsMediaChecks::CheckPicture(mDataByteArray)
                                                          : SmsMediaChecks::CheckFrameTable(mDataByteArray);
        mIsTddSingleUsable = true;
        mIsTddTemplateUsable = mIsEmsUsable;
        break;
    case EcardEntries::UnknownSubType:
    case EcardEntries::UnknownType:
        break;
    }
}

bool CSmsItem::Load()
{
    const QString refusal = CRunFiles::NamedFileRefusal(s_pRunFiles, mPath);
    if (!refusal.isEmpty()) {
        *mpMessages +=
            CLanguageResources::GetMessage(QStringLiteral("CSmsTranslator"), QStringLiteral("id_item_unreadable"))
                .arg(ShowName(mPath), refusal)
            + QLatin1Char('\n');
        mIsValid = false;
        return false;
    }
    mIsValid = SmsMediaFile::Read(mPath, s_MaxMediaSize, mDataByteArray, *mpMessages);
    return mIsValid;
}

void CSmsItem::ClassifyText()
{
    mType = TEXT_TYPE;
    mText = mRef;
    mIsValid = true;
    mIsEmsUsable = true;
    mIsTddTemplateUsable = true;
}

void CSmsItem::CheckFixedObject(int expectedSize)
{
    mIsEmsChecked = true;
    mIsEmsUsable = mDataByteArray.size() == expectedSize;
}

void CSmsItem::ClassifyPredefined(int maxNumber)
{
    mIsValid = true;
    mIsEmsChecked = true;
    bool parsed = false;
    const short number = mRef.toShort(&parsed, 10);
    mIsPredefinedNumberValid = parsed;
    mPredefinedNumber = parsed ? number : 0;
    if (parsed && number >= 0 && number <= maxNumber) {
        mDataByteArray = QByteArray(1, char(number));
        mIsEmsUsable = true;
    }
    mIsTddSingleUsable = mType == PREDEFINED_SOUND;
    mIsTddTemplateUsable = mIsEmsUsable;
}

void CSmsItem::ClassifyUserPicture()
{
    mIsEmsChecked = true;
    QByteArray file;
    file.swap(mDataByteArray);
    mType = SmsMediaChecks::SplitPictureFile(file, mDataByteArray);
    if (mType == LARGE_PICTURE)
        mIsEmsUsable = mDataByteArray.size() == SmsMediaChecks::LARGE_OBJECT_OCTETS;
    else if (mType == SMALL_PICTURE)
        mIsEmsUsable = mDataByteArray.size() == SmsMediaChecks::SMALL_OBJECT_OCTETS;
    else
        mIsEmsUsable = SmsMediaChecks::CheckVariablePicture(mDataByteArray);
}

void CSmsItem::ClassifyUserAnimation()
{
    mIsEmsChecked = true;
    if (mDataByteArray.size() == SmsMediaChecks::LARGE_OBJECT_OCTETS)
        mType = LARGE_ANIMATION;
    mIsEmsUsable = mDataByteArray.size() == SmsMediaChecks::LARGE_OBJECT_OCTETS
                   || mDataByteArray.size() == SmsMediaChecks::SMALL_OBJECT_OCTETS;
}

void CSmsItem::ClassifyMelody()
{
    mIsEmsChecked = true;
    mIsTddSingleUsable = true;
    if (mTruncateMelody) {
        const int budget = qMax(mMelodyPacketCount, 1) * MELODY_PACKET_OCTETS;
        QString error;
        if (!SmsMelodyCut::Cut(mType == ONE_LINE_MELODY, mDataByteArray, budget, mpProfile, error))
            *mpMessages += error + QStringLiteral(" in: ") + ShowName(mPath) + QLatin1Char('\n');
    }
    mIsEmsUsable = !mDataByteArray.isEmpty() && mDataByteArray.size() <= SmsMediaChecks::LARGE_OBJECT_OCTETS;
    mIsTddTemplateUsable = mType == IMELODY ? true : mIsEmsUsable;
}
