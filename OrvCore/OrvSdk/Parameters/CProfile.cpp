#include "Parameters/CProfile.h"

#include "Parameters/ParameterRead.h"
#include "Text/CLanguageResources.h"
#include "Util/Assert.h"

#include <QtDebug>

namespace {
QString Key(const char* key)
{
    return QString::fromLatin1(key);
}

// Why a profile is refused, from the language file; the caller fills in the keys.
QString Reason(const char* id)
{
    return CLanguageResources::GetMessage(QStringLiteral("CProfile"), QString::fromLatin1(id));
}

struct RequiredKey
{
    const char* name;
    int type;
};

// Keys that this class and the library's melody code read with no fallback.
const RequiredKey kRequiredKeys[] = {
    {"MaxPictWidth", CParameter::INT_TYPE},
    {"MaxPictHeight", CParameter::INT_TYPE},
    {"DefaultDisplayTime", CParameter::INT_TYPE},
    {"MaxMediaSize", CParameter::INT_TYPE},
    {"NbMaxPictAnim", CParameter::INT_TYPE},
    {"BuzzerNaturalCompatible", CParameter::BOOL_TYPE},
    {"BuzzerContinuousCompatible", CParameter::BOOL_TYPE},
    {"BuzzerStaccatoCompatible", CParameter::BOOL_TYPE},
    {"BuzzerDefaultStyle", CParameter::ENUM_TYPE},
    {"MinBpmBuzzer", CParameter::INT_TYPE},
    {"MaxBpmBuzzer", CParameter::INT_TYPE},
    {"BuzzerBandWidthLowNote", CParameter::INT_TYPE},
    {"BuzzerBandWidthHighNote", CParameter::INT_TYPE},
    {"BrimselOneLineMelodies", CParameter::BOOL_TYPE},
};

// Pairs of keys that bound one range, lower first: a range whose lower end lies above its upper one admits no
// value, and a converter would pass both ends on as they stand.
const char* const kRanges[][2] = {
    {"MinBpmBuzzer", "MaxBpmBuzzer"},
    {"BuzzerBandWidthLowNote", "BuzzerBandWidthHighNote"},
    {"DSPWidthLowBand", "DSPWidthHighBand"},
};

const char* const kStyleFlags[][2] = {
    {"Natural", "BuzzerNaturalCompatible"},
    {"Continuous", "BuzzerContinuousCompatible"},
    {"Staccato", "BuzzerStaccatoCompatible"},
};
} // namespace

CProfile::CProfile() = default;

bool CProfile::Load(const QString& path)
{
    if (!CParameters::Load(path))
        return false;
    const QString missing = FindMissingRequiredKey();
    QString reason;
    if (!missing.isEmpty())
        reason = Reason("id_key_missing").arg(missing);
    else if (!FindEmptyRange(reason))
        return true;
    Refuse(reason);
    qDebug().noquote() << QStringLiteral("CProfile::Load> %1: %2; profile refused").arg(path, GetLoadError());
    Clear();
    return false;
}

QString CProfile::FindMissingRequiredKey() const
{
    for (const RequiredKey& key : kRequiredKeys) {
        const CParameter* parameter = GetParameter(Key(key.name));
        if (!parameter || parameter->mType != key.type)
            return Key(key.name);
    }
    return QString();
}

bool CProfile::FindEmptyRange(QString& reason) const
{
    for (const auto& range : kRanges) {
        bool bLow = false;
        bool bHigh = false;
        const int low = ParameterRead::Int(this, range[0], 0, &bLow);
        const int high = ParameterRead::Int(this, range[1], 0, &bHigh);
        if (bLow && bHigh && low > high) {
            reason =
                Reason("id_range_empty").arg(Key(range[0]), QString::number(low), Key(range[1]), QString::number(high));
            return true;
        }
    }
    return false;
}

int CProfile::IntValue(const char* key) const
{
    // Neutral 0 for a profile that never loaded; a loaded one has every required key.
    return ParameterRead::Int(this, key, 0);
}

bool CProfile::BoolValue(const char* key) const
{
    return ParameterRead::Bool(this, key, false);
}

QString CProfile::TextValue(const char* key) const
{
    return ParameterRead::Text(this, key);
}

QString CProfile::GetMobileName() const
{
    return TextValue("MobileName");
}

QString CProfile::GetMobileType() const
{
    return TextValue("MobileType");
}

QSize CProfile::GetMaxPictSize() const
{
    return QSize(IntValue("MaxPictWidth"), IntValue("MaxPictHeight"));
}

int CProfile::GetDefaultDisplayTime() const
{
    return IntValue("DefaultDisplayTime");
}

int CProfile::GetMaxMediaSize() const
{
    return IntValue("MaxMediaSize");
}

int CProfile::GetNbMaxPictAnim() const
{
    return IntValue("NbMaxPictAnim");
}

QList<QSize> CProfile::GetDefaultPictSizes() const
{
    QList<QSize> sizes;
    for (int n = 0;; ++n) {
        bool bWidth = false;
        bool bHeight = false;
        const int width = ParameterRead::Int(this, QStringLiteral("DefaultPictWidth%1").arg(n), 0, &bWidth);
        const int height = ParameterRead::Int(this, QStringLiteral("DefaultPictHeight%1").arg(n), 0, &bHeight);
        if (!bWidth || !bHeight)
            break;
        sizes.append(QSize(width, height));
    }
    return sizes;
}

bool CProfile::IsStyleSupported(const QString& style) const
{
    for (const auto& flag : kStyleFlags) {
        if (style == QLatin1String(flag[0]))
            return BoolValue(flag[1]);
    }
    return false;
}

QString CProfile::GetBuzzerStyle(const QString& style) const
{
    if (IsStyleSupported(style))
        return style;
    bool bPresent = false;
    const QString defaultStyle = ParameterRead::Enum(this, "BuzzerDefaultStyle", QString(), &bPresent);
    if (!bPresent)
        return QString();
    const bool bDefaultStyleSupported = IsStyleSupported(defaultStyle);
    ASSERT(bDefaultStyleSupported);
    return defaultStyle;
}

QString CProfile::GetBuzzerStyle(const CProfile* profile, const QString& style)
{
    if (!profile)
        return QString();
    return profile->GetBuzzerStyle(style);
}
