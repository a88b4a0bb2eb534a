#include "CConverterPanel.h"
#include "Core/CBatchInfo.h"
#include "Core/CGenerationInfo.h"
#include "Parameters/CParameters.h"
#include "GuiResources.h"
#include "Parameters/CParameters.h"
#include <QHBoxLayout>
#include <QPushButton>
#include <QScrollArea>
#include <QVBoxLayout>

namespace {

QPushButton* MakeButton(QWidget* parent, const char* caption, const char* toolTip)
{
    auto* button = new QPushButton(GuiText("CConverterPanel", caption), parent);
    QFont font(QStringLiteral("Helvetica"), 8);
    button->setFont(font);
    button->setToolTip(GuiText("CConverterPanel", toolTip));
    button->setFixedSize(button->sizeHint());
    return button;
}

} // namespace

CConverterPanel::CConverterPanel(QWidget* parent, const QString& name)
    : QGroupBox(parent),
      mpLoadDefaultButton(MakeButton(this, "id_load_default_caption",
                                     "id_tool_tip_converter_parameters_load_default_button")),
      mpSaveButton(MakeButton(this, "id_save_caption", "id_tool_tip_converter_parameters_save_button")),
      mpLoadButton(MakeButton(this, "id_load_caption", "id_tool_tip_converter_parameters_load_button")),
      mpScrollView(new QScrollArea(this))
{
    setObjectName(name);
    setTitle(GuiText("CConverterPanel", "id_converter_parameter_title"));
    mpScrollView->setObjectName(QStringLiteral("QScrollView"));
    mpScrollView->setWidgetResizable(true);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(mpScrollView, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(mpLoadDefaultButton);
    buttons->addStretch(1);
    buttons->addWidget(mpSaveButton);
    buttons->addWidget(mpLoadButton);
    layout->addLayout(buttons);
    CheckConnection(connect(mpLoadDefaultButton, &QPushButton::clicked, this, &CConverterPanel::LoadDefault));
    CheckConnection(connect(mpSaveButton, &QPushButton::clicked, this, &CConverterPanel::Save));
    CheckConnection(connect(mpLoadButton, &QPushButton::clicked, this, &CConverterPanel::Load));
}

void CConverterPanel::UpdatePanel(int converter)
{
    CParameters* parameters = nullptr;
    emit GetConverterParameters(converter, &parameters);
    if (!parameters)
        return;
    const bool any = !parameters->IsEmpty();
    mpLoadDefaultButton->setEnabled(any);
    mpSaveButton->setEnabled(any);
    mpLoadButton->setEnabled(any);
    mpParameters = parameters;
}

void CConverterPanel::SetConverterParameters(CParameters** parameters)
{
    *parameters = mpParameters;
}

void CConverterPanel::Load()
{
}

void CConverterPanel::Save()
{
}

void CConverterPanel::LoadDefault()
{
}

void CConverterPanel::show()
{
    if (!mFirstShow) {
        mFirstShow = true;
        UpdatePanel(0);
    }
    QWidget::show();
}
