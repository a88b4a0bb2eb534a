#pragma once
// The typed parameters of a parameter set. Parameter sets cross the plug-in
// boundary by pointer and their users read and write these fields directly, so
// every deliverable must be built from this one definition.
#include <QString>

#include <cstdint>

class CEnumType;

class CParameter
{
public:
    enum Type
    {
        BOOL_TYPE = 0,
        INT_TYPE = 1,
        FLOAT_TYPE = 2,
        STRING_TYPE = 3,
        ENUM_TYPE = 4
    };

    explicit CParameter(int type);
    virtual ~CParameter();
    // Brings the current state back to the declared one.
    virtual void Reset();

    const QString& GetName() const { return mName; }
    int GetType() const { return mType; }

    QString mName;
    int mType;
    bool mIsConst;         // current flag; converters may change it
    bool mIsDeclaredConst; // CONST of the file

private:
    CParameter(const CParameter&) = delete;
    CParameter& operator=(const CParameter&) = delete;
};

class CBoolParameter : public CParameter
{
public:
    explicit CBoolParameter(bool value);
    void Reset() override;

    bool mValue;
    bool mDefault;
};

class CIntParameter : public CParameter
{
public:
    CIntParameter(int32_t value, int32_t minimum, int32_t maximum);
    void Reset() override;

    int32_t mDefault;
    int32_t mValue;
    int32_t mMin;
    int32_t mMax;
    // The limits of the file, before any filter narrowed them.
    int32_t mDeclaredMin;
    int32_t mDeclaredMax;
};

class CFloatParameter : public CParameter
{
public:
    CFloatParameter(float value, float minimum, float maximum);
    void Reset() override;

    float mValue;
    float mMin;
    float mMax;
    float mDefault;
    // The limits of the file, before any filter narrowed them.
    float mDeclaredMin;
    float mDeclaredMax;
};

class CStringParameter : public CParameter
{
public:
    explicit CStringParameter(const QString& value);
    void Reset() override;

    QString GetValue() const { return mValue; }
    QString GetDefaultValue() const { return mDefault; }

    QString mValue;
    QString mDefault;
};

class CEnumParameter : public CParameter
{
public:
    // Default and value are the text at that index of the type's current list.
    CEnumParameter(int index, CEnumType* type);
    // Goes back to the default text through SetValue: a constant parameter, or
    // a default no longer among the allowed values, keeps its value.
    void Reset() override;

    QString GetValue() const { return mValue; }
    QString GetDefaultValue() const { return mDefault; }
    CEnumType* GetEnumType() const { return mpType; }
    // False when the text is not allowed or the parameter is constant.
    bool SetValue(const QString& text);
    // Narrows the type's allowed values; the current value cannot be removed.
    bool RemoveValue(const QString& text);
    void RestoreValues();

    CEnumType* mpType; // owned by the set
    QString mDefault;
    QString mValue;
};
