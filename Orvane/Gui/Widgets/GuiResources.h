#pragma once
#include <QPixmap>
#include <QString>

class QObject;

// The windows' texts, pictures and sounds from the language file, looked up under the asking class's name.
// A missing item gives an empty text, a null picture or an empty sound path.
QString GuiText(const char* className, const char* id);
QPixmap GuiPicture(const char* className, const char* id);
QString GuiSound(const char* className, const char* id);

// A connection made while a window is built: a failure is written to the debug output and the window goes on.
void CheckConnection(bool connected);
