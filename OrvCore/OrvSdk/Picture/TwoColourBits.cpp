#include "Picture/TwoColourBits.h"

#include "Picture/PhoneGreys.h"

QImage TwoColourBits::FromPicture(const QImage& picture, QRgb light, QRgb dark)
{
    if (picture.isNull())
        return QImage();
    const QImage indexed =
        picture.format() == QImage::Format_Indexed8 ? picture : picture.convertToFormat(QImage::Format_Indexed8);
    if (indexed.isNull())
        return QImage();

    uchar bitOf[256];
    for (int i = 0; i < 256; ++i)
        bitOf[i] = static_cast<uchar>(i & 1);
    const QList<QRgb> table = indexed.colorTable();
    if (table.size() == 2) {
        // A tie keeps the index: index 1 stays the dark one.
        const bool firstIsDarker = PhoneGreys::GreyValue(table.at(0)) < PhoneGreys::GreyValue(table.at(1));
        bitOf[0] = firstIsDarker ? 1 : 0;
        bitOf[1] = firstIsDarker ? 0 : 1;
    }

    QImage bits(indexed.size(), QImage::Format_Indexed8);
    if (bits.isNull())
        return QImage();
    bits.setColorTable({light, dark});
    const int width = indexed.width();
    for (int y = 0; y < indexed.height(); ++y) {
        const uchar* from = indexed.constScanLine(y);
        uchar* to = bits.scanLine(y);
        for (int x = 0; x < width; ++x)
            to[x] = bitOf[from[x]];
    }
    return bits;
}
