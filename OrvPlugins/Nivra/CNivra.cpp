#include "CNivra.h"

CDocument* CNivra::Import(const QByteArray& rawData)
{
    return ImportPicture(rawData);
}
