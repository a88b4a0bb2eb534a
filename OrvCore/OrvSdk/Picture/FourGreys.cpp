#include "Picture/FourGreys.h"

#include "Picture/PhoneGreys.h"

#include <QList>

#include <algorithm>
#include <climits>

namespace {
const QRgb kWhite = qRgb(255, 255, 255);
// The phone greys and white: what a picture drawn for the phone with a
// transparent background holds.
const int kGreysWithWhite = PhoneGreys::Count + 1;

QList<QRgb> PhoneTable()
{
    QList<QRgb> table;
    for (int i = 0; i < PhoneGreys::Count; ++i)
        table.append(PhoneGreys::Phone(i));
    return table;
}

int SquaredDistance(QRgb a, QRgb b)
{
    const int red = qRed(a) - qRed(b);
    const int green = qGreen(a) - qGreen(b);
    const int blue = qBlue(a) - qBlue(b);
    return red * red + green * green + blue * blue;
}

// Which palette entries the pixels use; an index past the palette counts as
// entry 0, as the toolkit shows it.
void MarkUsed(const QImage& indexed8, bool used[256])
{
    std::fill(used, used + 256, false);
    const int colours = indexed8.colorCount();
    for (int y = 0; y < indexed8.height(); ++y)
    {
        const uchar* row = indexed8.constScanLine(y);
        for (int x = 0; x < indexed8.width(); ++x)
            used[row[x] < colours ? row[x] : 0] = true;
    }
}

void Remap(QImage& indexed8, const uchar map[256])
{
    for (int y = 0; y < indexed8.height(); ++y)
    {
        uchar* row = indexed8.scanLine(y);
        for (int x = 0; x < indexed8.width(); ++x)
            row[x] = map[row[x]];
    }
}

bool IsPhoneGreysAndWhite(const QList<QRgb>& table)
{
    for (QRgb colour : table)
        if (!PhoneGreys::IsPhoneGrey(colour) && !PhoneGreys::SameRgb(colour, kWhite))
            return false;
    return true;
}

QImage BitsOf(const QImage& maskPicture)
{
    return maskPicture.convertToFormat(QImage::Format_Indexed8);
}
} // namespace

int FourGreys::CompactToUsedGreys(QImage& indexed8)
{
    bool used[256];
    MarkUsed(indexed8, used);
    const QList<QRgb> table = indexed8.colorTable();
    QList<QRgb> compact;
    uchar map[256] = {};
    for (int i = 0; i < table.size() && i < 256; ++i)
    {
        if (!used[i])
            continue;
        const int grey = PhoneGreys::GreyValue(table.at(i));
        const QRgb colour = qRgb(grey, grey, grey);
        int at = compact.indexOf(colour);
        if (at < 0)
        {
            at = int(compact.size());
            compact.append(colour);
        }
        map[i] = static_cast<uchar>(at);
    }
    for (int i = int(table.size()); i < 256; ++i)
        map[i] = map[0];
    Remap(indexed8, map);
    indexed8.setColorTable(compact);
    return int(compact.size());
}

int FourGreys::CountUsedGreys(const QImage& indexed8)
{
    bool used[256];
    MarkUsed(indexed8, used);
    bool grey[256] = {};
    int count = 0;
    const QList<QRgb> table = indexed8.colorTable();
    for (int i = 0; i < table.size() && i < 256; ++i)
    {
        const int value = PhoneGreys::GreyValue(table.at(i));
        if (used[i] && !grey[value])
        {
            grey[value] = true;
            ++count;
        }
    }
    return count;
}

QImage FourGreys::MakeMask(QImage& indexed8)
{
    if (indexed8.isNull() || indexed8.format() != QImage::Format_Indexed8)
        return QImage();
    if (indexed8.allGray() && CompactToUsedGreys(indexed8) == kGreysWithWhite &&
        IsPhoneGreysAndWhite(indexed8.colorTable()))
    {
        const QList<QRgb> table = indexed8.colorTable();
        int white = 0;
        while (!PhoneGreys::SameRgb(table.at(white), kWhite))
            ++white;
        QImage mask(indexed8.size(), QImage::Format_Indexed8);
        if (mask.isNull())
            return QImage();
        mask.setColorTable({kWhite, qRgb(0, 0, 0)});
        for (int y = 0; y < indexed8.height(); ++y)
        {
            const uchar* from = indexed8.constScanLine(y);
            uchar* to = mask.scanLine(y);
            for (int x = 0; x < indexed8.width(); ++x)
                to[x] = from[x] == white ? 0 : 1;
        }
        indexed8.setColor(white, PhoneGreys::Phone(0));
        return mask;
    }
    // The toolkit clears the mask where the border's colour reaches in from
    // the edges; a pocket of that colour enclosed by others stays opaque.
    const QImage heuristic = indexed8.createHeuristicMask(true);
    if (heuristic.isNull())
        return QImage();
    return BitsOf(heuristic);
}

QImage FourGreys::Quantise(const QImage& indexed8)
{
    if (indexed8.isNull() || indexed8.format() != QImage::Format_Indexed8)
        return QImage();
    QList<QRgb> table = indexed8.colorTable();
    if (!indexed8.allGray())
        for (QRgb& colour : table)
        {
            const int grey = PhoneGreys::GreyValue(colour);
            colour = qRgb(grey, grey, grey);
        }
    // The toolkit fills a short palette up with black.
    while (table.size() < PhoneGreys::Count)
        table.append(qRgba(0, 0, 0, 0));

    bool phoneReference = table.size() == PhoneGreys::Count || table.size() == kGreysWithWhite;
    for (int i = 0; phoneReference && i < table.size(); ++i)
        phoneReference = PhoneGreys::IsPhoneGrey(table.at(i));

    uchar nearest[256] = {};
    for (int i = 0; i < table.size() && i < 256; ++i)
    {
        int best = 0;
        int bestDistance = INT_MAX;
        for (int reference = 0; reference < PhoneGreys::Count; ++reference)
        {
            const QRgb grey = phoneReference ? PhoneGreys::Phone(reference) : PhoneGreys::Neutral(reference);
            const int distance = SquaredDistance(table.at(i), grey);
            // Only a strictly nearer grey wins: ties stay with the lighter.
            if (distance < bestDistance)
            {
                best = reference;
                bestDistance = distance;
            }
        }
        nearest[i] = static_cast<uchar>(best);
    }
    for (int i = int(table.size()); i < 256; ++i)
        nearest[i] = nearest[0];

    QImage greys = indexed8.copy();
    if (greys.isNull())
        return QImage();
    Remap(greys, nearest);
    greys.setColorTable(PhoneTable());
    return greys;
}

QImage FourGreys::Preview(const QImage& greys, const QImage* mask)
{
    QImage preview = greys.copy();
    if (preview.isNull())
        return preview;
    QList<QRgb> table = PhoneTable();
    if (mask)
    {
        const uchar transparent = static_cast<uchar>(table.size());
        table.append(kWhite);
        for (int y = 0; y < preview.height() && y < mask->height(); ++y)
        {
            const uchar* bits = mask->constScanLine(y);
            uchar* row = preview.scanLine(y);
            for (int x = 0; x < preview.width() && x < mask->width(); ++x)
                if (!(bits[x] & 1u))
                    row[x] = transparent;
        }
    }
    preview.setColorTable(table);
    return preview;
}
