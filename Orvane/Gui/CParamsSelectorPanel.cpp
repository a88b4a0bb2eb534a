#include "CParamsSelectorPanel.h"
#include "CFileSelectorControl.h"
#include "GuiResources.h"

CParamsSelectorPanel::CParamsSelectorPanel(QWidget* parent, const QString& name, int diskSelectorLayout)
    : CSingleFileSelectorPanel(parent, name, diskSelectorLayout)
{
    setTitle(GuiText("CParamsSelectorPanel", "id_params_panel"));
}

void CParamsSelectorPanel::show()
{
    if (!mBuilt) {
        emit GetCurrentPath(mCurrentPath);
        mBuilt = true;
    }
    QWidget::show();
}

void CParamsSelectorPanel::SetFileList(const QStringList*)
{
}

void CParamsSelectorPanel::LoadPanel(CDatabase&)
{
}

void CParamsSelectorPanel::SetCurrentFile(QString&)
{
}

void CParamsSelectorPanel::SetListOfConverterName(QStringList* names)
{
    mpConverterNames = names;
}

void CParamsSelectorPanel::NewBatch()
{
}

void CParamsSelectorPanel::Save()
{
}

void CParamsSelectorPanel::Load()
{
}

void CParamsSelectorPanel::GetParamsFileNameList(QStringList&)
{
}

void CParamsSelectorPanel::IsChecked(B32* checked, int)
{
    *checked = 0;
}

void CParamsSelectorPanel::UpdateConverterList()
{
}
