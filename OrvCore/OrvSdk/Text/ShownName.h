#pragma once
// A name from outside (a file name, an option's value, a name a source holds) as a message shows it: each control
// character, each character that ends a line, each format character (the bidirectional controls, which would make
// the rest of a line read in another order, "tune<RLO>gpj.mid" as "tunedim.jpg", and the invisible ones, a
// zero-width space, a byte order mark or a soft hyphen, which make two names look alike) and the backslash itself
// is written as the \xHH of its bytes, as bytes outside the character set already are. So a name can neither end
// a line of the run log, nor start one that reads as the program's own, nor read as another name: "a\x0ab" shown
// is a name that held a line feed, and a name that held the four characters \x0a is shown as \x5cx0a.
//
// A name longer than kShownNameLength characters is shown by its start and its end with its length, so a huge
// name cannot blow up the log once per mention, and two long paths of one folder still tell which file is meant:
// the end is the file's own name (what follows the last "/") whole, cut in its own middle only when it alone takes
// more than kShownFileNameLength characters.
#include <QByteArray>
#include <QString>

constexpr int kShownNameLength = 256;
constexpr int kShownFileNameLength = 192;

QString ShowName(const QString& name);
// A name the system's character set cannot spell, by its bytes: printable ASCII as it stands, every other byte
// and the backslash as \xHH; a long one shortened as above (counted in bytes).
QString ShowNameBytes(const QByteArray& name);
// A name shortened by the same rule to length characters, with the file's name given the same share of them,
// as it stands (neither escaped nor followed by its length): for a name already shown that has to fit a narrower
// room, such as a line of a message box. A name that holds a "..." already is cut again there.
QString ShortenName(const QString& name, int length);
