#include "VoxVocoders.h"

#include "PlexaLog.h"

namespace {
const char* const kNames[VocoderCount] = {
    "gsm_fr",
    "gsm_efr",
    "gsm_hr",
    "",
    "",
    "",
    "",
    "",
    "gsm_amr_475",
    "gsm_amr_515",
    "gsm_amr_59",
    "gsm_amr_67",
    "gsm_amr_74",
    "gsm_amr_795",
    "gsm_amr_102",
    "gsm_amr_122",
};

const int kCompatibilityIds[kVocoderCompatibilityRows] = {0, 1, 2, 8, 9, 10, 11, 12, 13, 14, 15};
} // namespace

const char* VocoderName(int id)
{
    return id >= 0 && id < VocoderCount ? kNames[id] : "";
}

int FindVocoder(const QString& name)
{
    if (name.isEmpty())
        return -1;
    for (int id = 0; id < VocoderCount; ++id)
        if (name == QLatin1String(kNames[id]))
            return id;
    return -1;
}

void ListVocoders()
{
    for (int id = 0; id < VocoderCount; ++id)
        if (kNames[id][0] != '\0')
            LogTrace(QStringLiteral("\t%1\n").arg(QLatin1String(kNames[id])));
}

int CompatibilityRowVocoder(int row)
{
    return row >= 0 && row < kVocoderCompatibilityRows ? kCompatibilityIds[row] : -1;
}

QString CompatibilityKey(int row)
{
    return QLatin1String(VocoderName(CompatibilityRowVocoder(row))) + QStringLiteral("VocoderCompatible");
}
