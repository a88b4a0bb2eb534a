#include "TunraEncoding.h"

#include "Text/CGsm7Coder.h"

QByteArray TunraEncodeGsm7(const QByteArray& latin1Text)
{
    QByteArray codes;
    if (latin1Text.isEmpty())
        return codes;
    CGsm7Coder coder;
    coder.SetEncodingType(0); // ISO-8859-1
    coder.ConvertToGsm7(latin1Text, codes);
    return codes;
}
