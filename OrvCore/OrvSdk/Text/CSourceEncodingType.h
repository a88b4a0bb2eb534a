#pragma once
#include <QString>
#include <cstdint>

// The encoding of a source text: 0 ISO-8859-1, 1 ISO-8859-7, 2 UCS-2, 3 unknown.
class CSourceEncodingType
{
public:
    enum Code
    {
        ISO_8859_1 = 0,
        ISO_8859_7 = 1,
        UCS_2 = 2,
        UNKNOWN = 3
    };

    CSourceEncodingType() = default;

    bool SetIso8859_1()
    {
        m_Code = ISO_8859_1;
        return true;
    }
    bool SetIso8859_7()
    {
        m_Code = ISO_8859_7;
        return true;
    }
    bool SetUcs2()
    {
        m_Code = UCS_2;
        return true;
    }
    bool SetUnknown()
    {
        m_Code = UNKNOWN;
        return true;
    }
    bool Assign(const CSourceEncodingType& other)
    {
        m_Code = other.m_Code;
        return true;
    }
    // Picks the encoding whose name the charset name contains exactly once
    // (case-sensitive), trying ISO-8859-1, ISO-8859-7, then UCS-2.
    bool SetFromCharsetName(const QString& name);

    int32_t GetCode() const { return m_Code; }
    bool IsKnown() const { return m_Code == ISO_8859_1 || m_Code == ISO_8859_7 || m_Code == UCS_2; }
    bool Is8bit() const { return m_Code == ISO_8859_1 || m_Code == ISO_8859_7; }
    bool IsUcs2() const { return m_Code == UCS_2; }

    static QString Iso8859_1Name();
    static QString Iso8859_7Name();
    static QString Ucs2Name();

private:
    int32_t m_Code = UNKNOWN;
};
