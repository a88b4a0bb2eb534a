#pragma once
#include <QByteArray>
#include <QString>
#include <cstdint>

class CProfile;
class CRunFiles;

// One piece of a short message: a text, a predefined sound or animation, or
// the content of a media file, with the export modes it can travel in.
class CSmsItem
{
public:
    enum MediaKind
    {
        PREDEFINED_SOUND = 0,
        IMELODY = 1,
        PREDEFINED_ANIMATION = 2,
        LARGE_ANIMATION = 3,
        SMALL_ANIMATION = 4,
        LARGE_PICTURE = 5,
        SMALL_PICTURE = 6,
        VARIABLE_PICTURE = 7,
        TEXT_TYPE = 8,
        POLYPHONIC_SEQUENCE = 9,
        ONE_LINE_MELODY = 10,
        SPEECH_CLIP = 11,
        PICTURE = 12,
        ANIMATION = 13,
        UNKNOWN_TYPE = 14
    };
    enum
    {
        MELODY_PACKET_OCTETS = 128
    };

    CSmsItem() = default;

    // Classifies the entry, reads its file and checks where it can be sent.
    // Messages are appended to messages. False when the item is not valid.
    bool SetContent(const QString& type, const QString& stype, const QString& ref, const QString& baseFolder,
                    bool truncateMelody, int melodyPacketCount, CProfile* profile, QString& messages, int textPosition);

    int GetType() const { return mType; }
    bool IsText() const { return mType == TEXT_TYPE; }
    bool IsValid() const { return mIsValid; }
    bool IsEmsUsable() const { return mIsEmsUsable; }
    bool IsTddSingleUsable() const { return mIsTddSingleUsable; }
    bool IsTddTemplateUsable() const { return mIsTddTemplateUsable; }
    // The entry was read and its "not EMS compatible" message given.
    bool HasFailedEmsCheck() const { return mIsValid && mIsEmsChecked && !mIsEmsUsable; }
    const QString& GetText() const { return mText; }
    const QString& GetRef() const { return mRef; }
    const QByteArray& GetContent() const { return mDataByteArray; }
    int GetTextPosition() const { return mTextPosition; }

    // The largest media file, in octets, that items accept (the profile's limit).
    static void SetMaxMediaSize(qint64 maxSize);
    static qint64 GetMaxMediaSize();
    // The files of the run in work: a media file that is its run log is not read. Null outside a run.
    static void SetRunFiles(const CRunFiles* runFiles);

private:
    void Clear();
    // The media kind an entry of that kind (EcardEntries::Kind) starts as.
    static int MediaKindOf(int entryKind);
    // Classifies the entry from its REF or the content its file gave.
    void TakeContent(int entryKind);
    void ClassifyText();
    void CheckFixedObject(int expectedSize);
    void ClassifyPredefined(int maxNumber);
    void ClassifyUserPicture();
    void ClassifyUserAnimation();
    void ClassifyMelody();
    bool Load();

    QByteArray mDataByteArray;
    int mType = UNKNOWN_TYPE;
    QString mRef;
    QString mPath;
    int16_t mPredefinedNumber = 0;
    bool mIsPredefinedNumberValid = false;
    QString mText;
    bool mIsSetContent = false;
    bool mIsValid = false;
    bool mIsEmsUsable = false;
    bool mIsTddSingleUsable = false;
    bool mIsTddTemplateUsable = false;
    // A file was read and then failed its EMS check.
    bool mIsEmsChecked = false;
    int mTextPosition = 0;

    // Settings of one SetContent call.
    bool mTruncateMelody = false;
    int mMelodyPacketCount = 1;
    CProfile* mpProfile = nullptr;
    QString* mpMessages = nullptr;
};
