#pragma once
#include <QByteArray>

// Content checks of the media files an item can carry. Every length, count
// and offset read from a file is checked against the file first.
namespace SmsMediaChecks {
enum
{
    LARGE_OBJECT_OCTETS = 128, // large picture, large animation, largest melody
    SMALL_OBJECT_OCTETS = 32,  // small picture, small animation
    MAX_VARIABLE_PICTURE_OCTETS = 126,
    ANIMATION_FRAME_COUNT = 4
};

// An EMS picture file: 16 x 16 or 32 x 32 pixels behind two size octets
// become a small or large picture without them; anything else is a variable
// picture. Returns the media kind (5, 6 or 7) and leaves the content to send.
int SplitPictureFile(const QByteArray& file, QByteArray& content);

// Variable picture: width, height and pixel octets. A width in octets is
// taken as it stands; a width in pixels must be a multiple of 8 and is
// rewritten in octets, the unit of the EMS element.
bool CheckVariablePicture(QByteArray& content);

// The maker's picture format: a monochrome body of width, height and pixel
// columns, small enough for an EMS message.
bool CheckPicture(const QByteArray& file);

// The maker's animation format: exactly four monochrome frames whose width
// is a multiple of 8, each small enough for an EMS message.
bool CheckFrameTable(const QByteArray& file);
} // namespace SmsMediaChecks
