#include "Picture/FourGreys.h"

#include "Picture/PhoneGreys.h"

#include <QList>
#include <QVector>

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
    const int width = indexed8.width();
    const int height = indexed8.height();
    for (int y = 0; y < height; ++y) {
        const uchar* row = indexed8.constScanLine(y);
        for (int x = 0; x < width; ++x)
            used[row[x] < colours ? row[x] : 0] = true;
    }
}

void Remap(QImage& indexed8, const uchar map[256])
{
    const int width = indexed8.width();
    const int height = indexed8.height();
    for (int y = 0; y < height; ++y) {
        uchar* row = indexed8.scanLine(y);
        for (int x = 0; x < width; ++x)
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

// The background: the top-left corner's colour, unless it is alone among the
// corners; then the top-right one's, or the bottom-right one's when only the
// bottom corners agree. The toolkit's heuristic mask picks it so.
QRgb BackgroundOf(const QImage& indexed8, const QList<QRgb>& table)
{
    const int w = indexed8.width() - 1;
    const int h = indexed8.height() - 1;
    auto rgb = [&](int x, int y) {
        const int index = indexed8.constScanLine(y)[x];
        return (index < table.size() ? table.at(index) : table.value(0)) & 0xFFFFFFu;
    };
    QRgb background = rgb(0, 0);
    if (background != rgb(w, 0) && background != rgb(0, h) && background != rgb(w, h)) {
        background = rgb(w, 0);
        if (background != rgb(w, h) && background != rgb(0, h) && rgb(0, h) == rgb(w, h))
            background = rgb(w, h);
    }
    return background;
}

// The toolkit's heuristic mask, clipped tightly: the pixels of the background
// colour that reach the border through their four neighbours are transparent;
// a pocket of that colour enclosed by others stays opaque. Done as one flood
// from the border rather than by repeated passes over the picture.
QImage BorderMask(const QImage& indexed8)
{
    const int width = indexed8.width();
    const int height = indexed8.height();
    QImage mask(width, height, QImage::Format_Indexed8);
    if (mask.isNull() || width <= 0 || height <= 0)
        return QImage();
    mask.setColorTable({kWhite, qRgb(0, 0, 0)});
    mask.fill(1u);

    const QList<QRgb> table = indexed8.colorTable();
    const QRgb background = BackgroundOf(indexed8, table);
    bool isBackground[256];
    for (int i = 0; i < 256; ++i)
        isBackground[i] = ((i < table.size() ? table.at(i) : table.value(0)) & 0xFFFFFFu) == background;

    QVector<int> pending;
    auto visit = [&](int x, int y) {
        uchar& bit = mask.scanLine(y)[x];
        if (bit && isBackground[indexed8.constScanLine(y)[x]]) {
            bit = 0;
            pending.append(y * width + x);
        }
    };
    for (int x = 0; x < width; ++x) {
        visit(x, 0);
        visit(x, height - 1);
    }
    for (int y = 0; y < height; ++y) {
        visit(0, y);
        visit(width - 1, y);
    }
    while (!pending.isEmpty()) {
        const int at = pending.takeLast();
        const int x = at % width;
        const int y = at / width;
        if (x > 0)
            visit(x - 1, y);
        if (x + 1 < width)
            visit(x + 1, y);
        if (y > 0)
            visit(x, y - 1);
        if (y + 1 < height)
            visit(x, y + 1);
    }
    return mask;
}
} // namespace

int FourGreys::CompactToUsedGreys(QImage& indexed8)
{
    bool used[256];
    MarkUsed(indexed8, used);
    const QList<QRgb> table = indexed8.colorTable();
    QList<QRgb> compact;
    uchar map[256] = {};
    for (int i = 0; i < table.size() && i < 256; ++i) {
        if (!used[i])
            continue;
        const int grey = PhoneGreys::GreyValue(table.at(i));
        const QRgb colour = qRgb(grey, grey, grey);
        int at = compact.indexOf(colour);
        if (at < 0) {
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
    for (int i = 0; i < table.size() && i < 256; ++i) {
        const int value = PhoneGreys::GreyValue(table.at(i));
        if (used[i] && !grey[value]) {
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
    if (indexed8.allGray() && CompactToUsedGreys(indexed8) == kGreysWithWhite
        && IsPhoneGreysAndWhite(indexed8.colorTable())) {
        const QList<QRgb> table = indexed8.colorTable();
        int white = 0;
        while (!PhoneGreys::SameRgb(table.at(white), kWhite))
            ++white;
        QImage mask(indexed8.size(), QImage::Format_Indexed8);
        if (mask.isNull())
            return QImage();
        mask.setColorTable({kWhite, qRgb(0, 0, 0)});
        const int width = indexed8.width();
        for (int y = 0; y < indexed8.height(); ++y) {
            const uchar* from = indexed8.constScanLine(y);
            uchar* to = mask.scanLine(y);
            for (int x = 0; x < width; ++x)
                to[x] = from[x] == white ? 0 : 1;
        }
        indexed8.setColor(white, PhoneGreys::Phone(0));
        return mask;
    }
    return BorderMask(indexed8);
}

QImage FourGreys::Quantise(const QImage& indexed8)
{
    if (indexed8.isNull() || indexed8.format() != QImage::Format_Indexed8)
        return QImage();
    QList<QRgb> table = indexed8.colorTable();
    if (!indexed8.allGray())
        for (QRgb& colour : table) {
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
    for (int i = 0; i < table.size() && i < 256; ++i) {
        int best = 0;
        int bestDistance = INT_MAX;
        for (int reference = 0; reference < PhoneGreys::Count; ++reference) {
            const QRgb grey = phoneReference ? PhoneGreys::Phone(reference) : PhoneGreys::Neutral(reference);
            const int distance = SquaredDistance(table.at(i), grey);
            // Only a strictly nearer grey wins: ties stay with the lighter.
            if (distance < bestDistance) {
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
    if (mask) {
        const uchar transparent = static_cast<uchar>(table.size());
        table.append(kWhite);
        const int width = qMin(preview.width(), mask->width());
        const int height = qMin(preview.height(), mask->height());
        for (int y = 0; y < height; ++y) {
            const uchar* bits = mask->constScanLine(y);
            uchar* row = preview.scanLine(y);
            for (int x = 0; x < width; ++x)
                if (!(bits[x] & 1u))
                    row[x] = transparent;
        }
    }
    preview.setColorTable(table);
    return preview;
}
