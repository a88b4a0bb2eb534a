#include "CSmsBuilderPanel.h"
#include "Core/CBatchInfo.h"
#include "Core/CGenerationInfo.h"
#include "Parameters/CParameters.h"
#include "GuiResources.h"

CSmsBuilderPanel::CSmsBuilderPanel(QWidget* parent, const QString& name) : QGroupBox(parent)
{
    setObjectName(name);
    setTitle(GuiText("CSmsBuilderPanel", "id_sms_builder_title"));
}

void CSmsBuilderPanel::UpdatePanel(int)
{
}

void CSmsBuilderPanel::SetTranslatorParameters(CParameters** parameters)
{
    *parameters = mpParameters;
}

void CSmsBuilderPanel::Load()
{
}

void CSmsBuilderPanel::Save()
{
}

void CSmsBuilderPanel::LoadDefault()
{
}

void CSmsBuilderPanel::show()
{
    mFirstShow = true;
    QWidget::show();
}
