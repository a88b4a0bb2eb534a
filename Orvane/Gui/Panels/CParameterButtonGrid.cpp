#include "Gui/Panels/CParameterButtonGrid.h"
#include "Gui/Widgets/GuiResources.h"
#include <QGridLayout>
#include <QHBoxLayout>
#include <QPushButton>

namespace {

QPushButton* MakeButton(QWidget* parent, const char* className, const char* caption, const char* toolTip)
{
    auto* button = new QPushButton(GuiText(className, caption), parent);
    button->setFont(QFont(QStringLiteral("Helvetica"), 8, QFont::Normal));
    button->setToolTip(GuiText(className, toolTip));
    button->setFixedSize(button->sizeHint());
    return button;
}

// A box of its own for each cell, so that each row keeps its buttons' natural sizes.
QHBoxLayout* CellBox(QWidget* box)
{
    auto* layout = new QHBoxLayout(box);
    layout->setContentsMargins(0, 0, 0, 0);
    return layout;
}

} // namespace

CParameterButtonGrid::CParameterButtonGrid(QWidget* parent, const char* className, const char* loadDefaultTip,
                                           const char* saveTip, const char* loadTip)
    : QWidget(parent)
{
    auto* defaultBox = new QWidget(this);
    mpLoadDefaultButton = MakeButton(defaultBox, className, "id_load_default_caption", loadDefaultTip);
    CellBox(defaultBox)->addWidget(mpLoadDefaultButton);
    auto* buttonBox = new QWidget(this);
    buttonBox->setObjectName(QStringLiteral("ButtonHBox"));
    mpSaveButton = MakeButton(buttonBox, className, "id_save_caption", saveTip);
    mpLoadButton = MakeButton(buttonBox, className, "id_load_caption", loadTip);
    QHBoxLayout* saveLoad = CellBox(buttonBox);
    saveLoad->addWidget(mpSaveButton);
    saveLoad->addWidget(mpLoadButton);

    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->addWidget(defaultBox, 0, 0, Qt::AlignLeft);
    grid->addWidget(buttonBox, 1, 0, Qt::AlignLeft);
    setFixedSize(sizeHint());
}
