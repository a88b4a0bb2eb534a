#include "Gui/Browsing/FileLineControls.h"
#include "Gui/Widgets/GuiResources.h"
#include <QLabel>

CFileIndicatorControl::CFileIndicatorControl(QWidget* parent, const QString& name) : QLineEdit(parent)
{
    setObjectName(name);
    setReadOnly(true);
}

void CFileIndicatorControl::SetSelectedFileName(QString& name)
{
    mFileName = name;
    setText(name);
}

CBatchFileControl::CBatchFileControl(QWidget* parent, const QString& name) : CFileIndicatorControl(parent, name) {}

CConverterSelectorControl::CConverterSelectorControl(QWidget* parent, const QString& name) : QComboBox(parent)
{
    setObjectName(name);
    setMinimumSize(1, 16);
}

CBrimselIcon::CBrimselIcon(QWidget* parent, const QString& name)
    : QWidget(parent), mpGrid(new QLabel(this)), mLogo(GuiPicture("CBrimselIcon", "id_brimsel_icon"))
{
    setObjectName(name);
    if (!mLogo.isNull()) {
        mpGrid->setPixmap(mLogo);
        mpGrid->setGeometry(0, 0, mLogo.width(), mLogo.height());
    }
}
