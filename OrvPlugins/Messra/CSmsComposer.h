#pragma once
#include "CSmsDeliver.h"
#include "CSmsItem.h"
#include "Text/CSourceEncodingType.h"
#include <QByteArray>
#include <QList>
#include <QString>
#include <vector>

// Splits the items of one message over as many delivers as needed, numbers
// them when there is more than one, and returns one user data chunk per deliver.
class CSmsComposer
{
public:
    enum Mode
    {
        MODE_EMS = 0,
        MODE_TDD_SINGLE = 1,
        MODE_TDD_TEMPLATE = 2,
        MODE_NONE = 3
    };
    enum
    {
        MAX_DELIVERS = 255,
        MAX_TEMPLATE_DELIVERS = 10,
        TITLE_SEPTETS_MAX = 15,
        TITLE_UCS2_OCTETS_MAX = 12
    };
    // Content types of the TDD element.
    enum TddContent
    {
        TDD_IMELODY = 0,
        TDD_ONE_LINE_MELODY = 1,
        TDD_SEQUENCE = 2,
        TDD_SPEECH_CLIP = 3,
        TDD_PICTURE = 4,
        TDD_ANIMATION = 5,
        TDD_TEMPLATE = 6
    };

    CSmsComposer();

    void SetTextFormat(const CSourceEncodingType& format, int mode);
    void SetTitle(const QString& name);
    bool GetTitle(QString& name) const;
    void SetCopyrightFlag(bool copyrighted) { mIsCopyrighted = copyrighted; }
    void SetOdiFlag(bool odi) { mIsOdi = odi; }

    bool AddItem(const CSmsItem& item);
    // One chunk per deliver, appended to an empty list. False, with the list
    // left empty, when the message cannot be built.
    bool Export(QList<QByteArray>& ExportList);

    // Media kinds an EMS message carries as objects, and text.
    static bool IsEmsSendable(int kind);
    // -1 for a kind that no TDD message carries alone.
    static int TddContentTypeOfKind(int kind);
    // The title octets and their length field (septets for GSM 7-bit, octets for UCS-2).
    static void MakeTitleOctets(const QString& title, const CSourceEncodingType& format, QByteArray& octets,
                                int& length);

private:
    bool BuildEms(std::vector<CSmsDeliver>& delivers);
    bool BuildTdd(std::vector<CSmsDeliver>& delivers, int contentType, const QByteArray& payload);
    bool AddEmsText(std::vector<CSmsDeliver>& delivers, const QString& text, bool concatenated);
    bool AddEmsObject(std::vector<CSmsDeliver>& delivers, const CSmsItem& item, bool concatenated);
    void AppendDeliver(std::vector<CSmsDeliver>& delivers, bool concatenated) const;
    static bool Number(std::vector<CSmsDeliver>& delivers);
    QString TitleBaseName() const;

    QList<CSmsItem> mItemList;
    CSourceEncodingType mTextFormat;
    int mMode = MODE_NONE;
    bool mIsInitialised = false;
    bool mIsTitleSet = false;
    QString TitleName;
    bool mIsCopyrighted = true;
    bool mIsOdi = false;
};
