#pragma once
// What one phone model can take: its name, picture and animation limits, media
// size limit, buzzer styles and one compatibility flag per output format. A
// profile file is a parameter file whose parameters are the profile's keys;
// converters read their own keys through ParameterRead.
#include "Parameters/CParameters.h"

#include <QList>
#include <QSize>
#include <QString>

class CProfile : public CParameters
{
public:
    CProfile();

    // Refuses (false, one debug line, the reason in GetLoadError) a file that
    // lacks a key the library reads without fallback, or declares it with
    // another type.
    bool Load(const QString& path) override;

    // Empty texts when missing.
    QString GetMobileName() const;
    QString GetMobileType() const;
    QSize GetMaxPictSize() const;
    int GetDefaultDisplayTime() const;
    int GetMaxMediaSize() const;
    int GetNbMaxPictAnim() const;
    // Sizes n = 0, 1, ... up to the first missing "DefaultPictWidth%1"/"DefaultPictHeight%1".
    QList<QSize> GetDefaultPictSizes() const;

    // The requested style ("Natural", "Continuous", "Staccato") when the phone
    // supports it, else the profile's default style.
    QString GetBuzzerStyle(const QString& style) const;
    static QString GetBuzzerStyle(const CProfile* profile, const QString& style);

    // The first required key that is missing or mistyped; empty when all are there.
    QString FindMissingRequiredKey() const;
    // Whether the profile bounds a range that admits no value (its lower key above its upper one), and why.
    bool FindEmptyRange(QString& reason) const;

private:
    int IntValue(const char* key) const;
    bool BoolValue(const char* key) const;
    QString TextValue(const char* key) const;
    bool IsStyleSupported(const QString& style) const;
};
