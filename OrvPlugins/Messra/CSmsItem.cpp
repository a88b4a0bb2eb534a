#include "CSmsItem.h"
#include "Import/EcardEntries.h"
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
    mPath = EcardEntries::FilePath(ref, baseFolder);
    mTextPosition = textPosition;
    mTruncateMelody = truncateMelody;
    mMelodyPacketCount = melodyPacketCount;
    mpProfile = profile;
    mpMessages = &messages;

    // Which entries read a file is the e-card's own rule, shared with the host's check of the run log.
    const EcardEntries::Kind kind = EcardEntries::Classify(type, stype);
    bool knownSubType = true;
    switch (kind) {
    case EcardEntries::Text:
        ClassifyText();
        break;
    case EcardEntries::LargePicture:
        ClassifyFixedObject(LARGE_PICTURE, SmsMediaChecks::LARGE_OBJECT_OCTETS);
        break;
    case EcardEntries::SmallPicture:
        ClassifyFixedObject(SMALL_PICTURE, SmsMediaChecks::SMALL_OBJECT_OCTETS);
        break;
    case EcardEntries::UserPicture:
        ClassifyUserPicture();
        break;
    case EcardEntries::PredefinedAnimation:
        ClassifyPredefined(PREDEFINED_ANIMATION, MAX_PREDEFINED_ANIMATION);
        break;
    case EcardEntries::LargeAnimation:
        ClassifyFixedObject(LARGE_ANIMATION, SmsMediaChecks::LARGE_OBJECT_OCTETS);
        break;
    case EcardEntries::SmallAnimation:
        ClassifyFixedObject(SMALL_ANIMATION, SmsMediaChecks::SMALL_OBJECT_OCTETS);
        break;
    case EcardEntries::UserAnimation:
        ClassifyUserAnimation();
        break;
    case EcardEntries::PredefinedSound:
        ClassifyPredefined(PREDEFINED_SOUND, MAX_PREDEFINED_SOUND);
        break;
    case EcardEntries::IMelody:
        ClassifyMelody(IMELODY);
        break;
    case EcardEntries::PolyphonicSequence:
    case EcardEntries::SpeechClip:
        mType = kind == EcardEntries::PolyphonicSequence ? POLYPHONIC_SEQUENCE : SPEECH_CLIP;
        mIsTddSingleUsable = Load();
        break;
    case EcardEntries::OneLineMelody:
        ClassifyMelody(ONE_LINE_MELODY);
        break;
    case EcardEntries::Picture:
        mType = PICTURE;
        if (Load()) {
            mIsEmsChecked = true;
            mIsEmsUsable = SmsMediaChecks::CheckPicture(mDataByteArray);
            mIsTddSingleUsable = true;
            mIsTddTemplateUsable = mIsEmsUsable;
        }
        break;
    case EcardEntries::Animation:
        mType = ANIMATION;
        if (Load()) {
            mIsEmsChecked = true;
            mIsEmsUsable = SmsMediaChecks::CheckFrameTable(mDataByteArray);
            mIsTddSingleUsable = true;
            mIsTddTemplateUsable = mIsEmsUsable;
        }
        break;
    case EcardEntries::UnknownSubType:
        knownSubType = false;
        break;
    case EcardEntries::UnknownType:
        mType = UNKNOWN_TYPE;
        messages += ShowName(type) + QStringLiteral(": unknown media type\n");
        mpMessages = nullptr;
        return false;
    }

    if (!knownSubType) {
        mType = UNKNOWN_TYPE;
        mIsValid = false;
    }
    if (!mIsValid) {
        messages += ShowName(ref) + QStringLiteral(" : File is not valid!\n");
        mIsEmsUsable = mIsTddSingleUsable = mIsTddTemplateUsable = false;
    } else if (mIsEmsChecked && !mIsEmsUsable)
        messages += ShowName(ref) + QStringLiteral(" : File is not EMS compatible\n");
    mpMessages = nullptr;
    mpProfile = nullptr;
    return mIsValid;
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

void CSmsItem::ClassifyFixedObject(int kind, int expectedSize)
{
    mType = kind;
    if (!Load())
        return;
    mIsEmsChecked = true;
    mIsEmsUsable = mDataByteArray.size() == expectedSize;
}

void CSmsItem::ClassifyPredefined(int kind, int maxNumber)
{
    mType = kind;
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
    mIsTddSingleUsable = kind == PREDEFINED_SOUND;
    mIsTddTemplateUsable = mIsEmsUsable;
}

void CSmsItem::ClassifyUserPicture()
{
    mType = VARIABLE_PICTURE;
    if (!Load())
        return;
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
    mType = SMALL_ANIMATION;
    if (!Load())
        return;
    mIsEmsChecked = true;
    if (mDataByteArray.size() == SmsMediaChecks::LARGE_OBJECT_OCTETS)
        mType = LARGE_ANIMATION;
    mIsEmsUsable = mDataByteArray.size() == SmsMediaChecks::LARGE_OBJECT_OCTETS
                   || mDataByteArray.size() == SmsMediaChecks::SMALL_OBJECT_OCTETS;
}

void CSmsItem::ClassifyMelody(int kind)
{
    mType = kind;
    if (!Load())
        return;
    mIsEmsChecked = true;
    mIsTddSingleUsable = true;
    if (mTruncateMelody) {
        const int budget = qMax(mMelodyPacketCount, 1) * MELODY_PACKET_OCTETS;
        QString error;
        if (!SmsMelodyCut::Cut(kind == ONE_LINE_MELODY, mDataByteArray, budget, mpProfile, error))
            *mpMessages += error + QStringLiteral(" in: ") + ShowName(mPath) + QLatin1Char('\n');
    }
    mIsEmsUsable = !mDataByteArray.isEmpty() && mDataByteArray.size() <= SmsMediaChecks::LARGE_OBJECT_OCTETS;
    mIsTddTemplateUsable = kind == IMELODY ? true : mIsEmsUsable;
}
