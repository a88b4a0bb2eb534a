#pragma once
#include <QByteArray>

class CDocumentAnimation;
class CDocumentPicture;

// The documents the two GIF importers make; null for bytes they refuse.

// A GIF that holds exactly one image, as a picture of its logical screen.
CDocumentPicture* ImportGifPicture(const QByteArray& bytes);

// A GIF that holds more than one image, as one frame per image.
CDocumentAnimation* ImportGifAnimation(const QByteArray& bytes);
