#pragma once
// A name from outside (a file name, an option's value, a name a source holds) as a message shows it: each control
// character, each character that ends a line, and each bidirectional format control (which would make the rest of
// a line read in another order, "tune<RLO>gpj.mid" as "tunedim.jpg") is written as the \xHH of its bytes, as bytes
// outside the character set already are. So a name can neither end a line of the run log, nor start one that reads
// as the program's own, nor read as another name. A name longer than kShownNameLength characters is shown by its
// start and its length, so a huge name cannot blow up the log once per mention.
#include <QString>

constexpr int kShownNameLength = 256;

QString ShowName(const QString& name);
