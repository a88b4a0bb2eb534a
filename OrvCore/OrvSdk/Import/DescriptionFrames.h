#pragma once
// The frames of an animation description that its importer reads, in order: the picture each names and how long
// it is shown. The importer decodes exactly these and names exactly these as the files a description names, which
// the host checks against its run log before it opens the log.
#include <QByteArray>
#include <QList>
#include <QString>

namespace DescriptionFrames {

struct CFrame
{
    QString path;        // as the description gives it: relative names start at the current folder
    int displayTime = 0; // milliseconds, above 0
    int position = 0;    // the frame element's position among the root's frames, from 1
};

enum Outcome
{
    Listed,
    NotXml,            // not well-formed, or nested too deep
    EntityTooLong,     // refused by the reader for an entity longer than it expands
    TooManyAttributes, // refused unread: an element or the document type holds too many attributes
    DefaultsTooLarge,  // refused unread: the defaults its document type declares would add more bytes than an XML
                       // file may have
    TooLarge,          // more bytes than an XML file may have (FileLimits::MaxXmlBytes): nothing was read
    TooManyFrames      // more frame elements than an animation may have: the walk stopped there
};

// The root's "FRAME" children, or its "frame" children when it has none; each names its picture in "REF" and its
// display time in "DELAY", and from the first frame that lacks the upper-case name on, in the lower-case one.
// A frame without a display time keeps the previous one's; frames without a picture or with a display time of 0
// or less are not listed. More "FRAME" elements than ImportLimits::MaxAnimationFrames end the walk at the first
// one too many, whatever follows. A description larger than an XML file may be is refused unread: reading XML takes
// several times its size in memory.
Outcome List(const QByteArray& bytes, QList<CFrame>& frames);

} // namespace DescriptionFrames
