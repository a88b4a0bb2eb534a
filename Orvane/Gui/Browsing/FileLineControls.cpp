#include "Gui/Browsing/FileLineControls.h"
#include "Gui/Widgets/GuiResources.h"
#include <QHelpEvent>
#include <QLabel>
#include <QStyleOptionComboBox>
#include <QStylePainter>
#include <QToolTip>

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

QString CConverterSelectorControl::GetShownText() const
{
    QStyleOptionComboBox option;
    initStyleOption(&option);
    const QRect room = style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, this);
    return fontMetrics().elidedText(currentText(), Qt::ElideRight, room.width());
}

QString CConverterSelectorControl::GetShownToolTip() const
{
    if (GetShownText() == currentText())
        return toolTip();
    return toolTip().isEmpty() ? currentText() : currentText() + QLatin1Char('\n') + toolTip();
}

bool CConverterSelectorControl::event(QEvent* event)
{
    if (event->type() != QEvent::ToolTip)
        return QComboBox::event(event);
    const QString tip = GetShownToolTip();
    if (tip.isEmpty())
        QToolTip::hideText();
    else
        QToolTip::showText(static_cast<QHelpEvent*>(event)->globalPos(), tip, this);
    return true;
}

void CConverterSelectorControl::paintEvent(QPaintEvent*)
{
    QStylePainter painter(this);
    QStyleOptionComboBox option;
    initStyleOption(&option);
    option.currentText = GetShownText();
    painter.drawComplexControl(QStyle::CC_ComboBox, option);
    painter.drawControl(QStyle::CE_ComboBoxLabel, option);
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
