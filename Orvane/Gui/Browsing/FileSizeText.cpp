#include "Gui/Browsing/FileSizeText.h"
#include "Gui/Widgets/GuiResources.h"

namespace {
QString Unit(const char* id)
{
    return GuiText("CFileSelectorControl", id);
}
} // namespace

QString FileSizeText(qint64 bytes)
{
    constexpr qint64 kKilo = 1024;
    constexpr qint64 kMega = kKilo * 1024;
    constexpr qint64 kGiga = kMega * 1024;
    if (bytes < kKilo)
        return Unit("id_size_bytes").arg(qMax<qint64>(bytes, 0));
    if (bytes < kMega)
        return Unit("id_size_kilobytes").arg((bytes + kKilo - 1) / kKilo);
    if (bytes < kGiga)
        return Unit("id_size_megabytes").arg(QString::number(double(bytes) / kMega, 'f', 1));
    return Unit("id_size_gigabytes").arg(QString::number(double(bytes) / kGiga, 'f', 1));
}
