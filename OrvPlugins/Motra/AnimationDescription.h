#pragma once
#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QtGlobal>

class CDocumentAnimation;
class CRunFiles;

// Why a description gave no animation.
struct DescriptionFailure
{
    enum Kind
    {
        None,
        NotXml,            // not well-formed, or nested too deep
        EntityTooLong,     // refused by the reader for an entity longer than it expands
        TooManyAttributes, // an element or the document type holds too many attributes: nothing was read
        DefaultsTooLarge,  // the defaults its document type declares would add more than an XML file may hold
        TooLarge,          // larger than an XML file may be: `bytes`
        TooManyFrames,     // names more frame elements than an animation may have: nothing was decoded
        FileUnreadable,    // a frame's file cannot be read: `reason`
        NotAPicture,       // a frame's file holds no picture the toolkit reads
        EmptyPicture,      // a frame's picture has no pixels
        FrameTooLarge,     // a frame's picture is too large to decode: `width` x `height` pixels
        OverFramesBudget   // with this frame the pictures take `bytes`, over the budget
    };
    Kind kind = None;
    int frame = 0; // the frame element's position among the root's frames, from 1
    QString path;
    QString reason;
    qint64 bytes = 0;
    int width = 0;
    int height = 0;
};

// Reads an animation description: an XML document whose root lists its frames as
// "FRAME" children (or "frame" when it has none), each naming a picture file in
// "REF" (else "ref") and its display time in milliseconds in "DELAY" (else "delay").
// Frames without a picture or with a display time of 0 or less are left out; a
// description with no frame left gives an animation without frames. Null, with
// the reason in `failure` when given, when the bytes are no XML, name more frames than
// ImportLimits::MaxAnimationFrames (counted before any picture is read), a picture cannot
// be loaded, or the pictures exceed the memory bound. A frame that is the run log of
// runFiles (when given) cannot be read.
CDocumentAnimation* ReadAnimationDescription(const QByteArray& bytes, DescriptionFailure* failure = nullptr,
                                             const CRunFiles* runFiles = nullptr);

// The picture files ReadAnimationDescription reads for these bytes, once each, in order: relative names from
// folder, the current folder while it reads them. None when it reads no picture (no XML, too many frames).
QStringList DescriptionPictureFiles(const QByteArray& bytes, const QString& folder);
