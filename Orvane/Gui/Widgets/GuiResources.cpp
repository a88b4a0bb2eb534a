#include "Gui/Widgets/GuiResources.h"
#include "Text/CLanguageResources.h"
#include <QtDebug>

QString GuiText(const char* className, const char* id)
{
    return CLanguageResources::GetMessage(QString::fromLatin1(className), QString::fromLatin1(id));
}

QPixmap GuiPicture(const char* className, const char* id)
{
    const QString path = CLanguageResources::GetPicture(QString::fromLatin1(className), QString::fromLatin1(id));
    return path.isEmpty() ? QPixmap() : QPixmap(path);
}

QString GuiSound(const char* className, const char* id)
{
    return CLanguageResources::GetSound(QString::fromLatin1(className), QString::fromLatin1(id));
}

void CheckConnection(bool connected)
{
    if (!connected)
        qDebug("Error connecting a signal to another signal");
}
