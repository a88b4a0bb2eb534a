#pragma once
#include <QString>

// One entry of an e-card as read: media type, sub-type and reference (or text).
class CEcardItem
{
public:
    const QString& getType() const { return mType; }
    const QString& getSType() const { return mSType; }
    const QString& getRef() const { return mRef; }
    void setType(const QString& type) { mType = type; }
    void setSType(const QString& stype) { mSType = stype; }
    void setRef(const QString& ref) { mRef = ref; }

private:
    QString mType;
    QString mSType;
    QString mRef;
};
