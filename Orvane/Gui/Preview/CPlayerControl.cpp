#include "Gui/Preview/CPlayerControl.h"
#include "Gui/Widgets/GuiResources.h"
#include <QGridLayout>
#include <QHBoxLayout>
#include <QPainter>
#include <QPushButton>

namespace {

// The 12 x 12 black-on-transparent pictures of the buttons.
QPixmap ButtonPicture(int bit)
{
    QPixmap picture(12, 12);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0, 0, 0));
    const QPoint right[] = {QPoint(2, 1), QPoint(11, 6), QPoint(2, 11)};
    switch (bit) {
    case CPlayerControl::PLAY:
        painter.drawPolygon(right, 3);
        break;
    case CPlayerControl::STOP:
        painter.drawRect(1, 1, 10, 10);
        break;
    case CPlayerControl::PREVIOUS: {
        painter.drawRect(0, 1, 3, 10);
        const QPoint left[] = {QPoint(11, 1), QPoint(4, 6), QPoint(11, 11)};
        painter.drawPolygon(left, 3);
        break;
    }
    default: {
        const QPoint ahead[] = {QPoint(0, 1), QPoint(7, 6), QPoint(0, 11)};
        painter.drawPolygon(ahead, 3);
        painter.drawRect(9, 1, 3, 10);
        break;
    }
    }
    return picture;
}

QPushButton* MakeButton(QWidget* parent, int bit, const char* toolTip)
{
    auto* button = new QPushButton(parent);
    button->setIcon(QIcon(ButtonPicture(bit)));
    button->setIconSize(QSize(12, 12));
    button->setToolTip(GuiText("CPlayerControl", toolTip));
    // In a dialog a focused button would take Return from the dialog's own default button.
    button->setAutoDefault(false);
    return button;
}

} // namespace

CPlayerControl::CPlayerControl(QWidget* parent, const QString& name)
    : QWidget(parent), mpPrevious(MakeButton(this, PREVIOUS, "id_prev_tt")),
      mpPlay(MakeButton(this, PLAY, "id_play_tt")), mpStop(MakeButton(this, STOP, "id_stop_tt")),
      mpNext(MakeButton(this, NEXT, "id_next_tt"))
{
    setObjectName(name);
    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(0, 0, 0, 0);
    auto* row = new QHBoxLayout;
    row->addWidget(mpPrevious);
    row->addWidget(mpPlay);
    row->addWidget(mpStop);
    row->addWidget(mpNext);
    grid->addLayout(row, 0, 0);
    CheckConnection(connect(mpPlay, &QPushButton::clicked, this, &CPlayerControl::PlayClicked));
    CheckConnection(connect(mpStop, &QPushButton::clicked, this, &CPlayerControl::StopClicked));
    CheckConnection(connect(mpNext, &QPushButton::clicked, this, &CPlayerControl::NextClicked));
    CheckConnection(connect(mpPrevious, &QPushButton::clicked, this, &CPlayerControl::PreviousClicked));
}

QPushButton* CPlayerControl::Button(int bit) const
{
    switch (bit) {
    case PLAY:
        return mpPlay;
    case STOP:
        return mpStop;
    case PREVIOUS:
        return mpPrevious;
    case NEXT:
        return mpNext;
    default:
        return nullptr;
    }
}

void CPlayerControl::ShowButtons(int mask)
{
    HideAllButtons();
    for (int bit : {PLAY, STOP, PREVIOUS, NEXT}) {
        if (mask & bit)
            Button(bit)->show();
    }
}

void CPlayerControl::EnableButtons(int mask, bool enable)
{
    for (int bit : {PLAY, STOP, PREVIOUS, NEXT}) {
        if (mask & bit)
            Button(bit)->setEnabled(enable);
    }
}

void CPlayerControl::HideAllButtons()
{
    for (int bit : {PLAY, STOP, PREVIOUS, NEXT})
        Button(bit)->hide();
}
