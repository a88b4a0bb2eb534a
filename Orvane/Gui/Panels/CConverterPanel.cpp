#include "Gui/Panels/CConverterPanel.h"
#include "Core/CUserPrompt.h"
#include "Gui/Browsing/FileLineControls.h"
#include "Gui/Panels/CMediaSelectorPanel.h"
#include "Gui/Panels/CParameterButtonGrid.h"
#include "Gui/Parameters/CParameterScrollArea.h"
#include "Gui/Parameters/CParameterView.h"
#include "Gui/Parameters/ParameterFiles.h"
#include "Gui/Widgets/GuiResources.h"
#include "Gui/Window/CGuiServices.h"
#include "Parameters/CParameters.h"
#include <QComboBox>
#include <QFileInfo>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

QString Text(const char* id)
{
    return GuiText("CConverterPanel", id);
}

} // namespace

CConverterPanel::CConverterPanel(QWidget* parent, const QString& name)
    : QGroupBox(parent), mpParameterView(nullptr), mpScrollView(new CParameterScrollArea(this))
{
    setObjectName(name);
    setTitle(Text("id_converter_parameter_title"));
    mpParameterView = mpScrollView->GetView();
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(mpScrollView, 1);
    auto* grid = new CParameterButtonGrid(
        this, "CConverterPanel", "id_tool_tip_converter_parameters_load_default_button",
        "id_tool_tip_converter_parameters_save_button", "id_tool_tip_converter_parameters_load_button");
    mpLoadDefaultButton = grid->GetLoadDefaultButton();
    mpSaveButton = grid->GetSaveButton();
    mpLoadButton = grid->GetLoadButton();
    layout->addWidget(grid, 0, Qt::AlignLeft);
    CheckConnection(connect(mpLoadDefaultButton, &QPushButton::clicked, this, &CConverterPanel::LoadDefault));
    CheckConnection(connect(mpSaveButton, &QPushButton::clicked, this, &CConverterPanel::Save));
    CheckConnection(connect(mpLoadButton, &QPushButton::clicked, this, &CConverterPanel::Load));
}

QString& CConverterPanel::LoadFolder()
{
    static QString folder;
    return folder;
}

QString& CConverterPanel::SaveFolder()
{
    static QString folder;
    return folder;
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
    mpScrollView->ShowParameters(parameters);
}

void CConverterPanel::SetConverterParameters(CParameters** parameters)
{
    *parameters = mpParameters;
}

int CConverterPanel::CurrentConverter() const
{
    return mpMediaSelectorPanel ? mpMediaSelectorPanel->GetConverterSelector()->currentIndex() : 0;
}

QString CConverterPanel::StartFolder(QString& memory) const
{
    if (memory.isEmpty() && mpMediaSelectorPanel)
        memory = mpMediaSelectorPanel->GetCurrentFolder();
    return memory;
}

void CConverterPanel::ForgetParameters()
{
    mpParameterView->SetParameters(nullptr);
    mpParameters = nullptr;
}

void CConverterPanel::LoadDefault()
{
    const int converter = CurrentConverter();
    ForgetParameters();
    emit LoadDefaultParamsAsked(converter);
    // The set comes back fitted to the phone and the source: resetting it here would undo that.
    UpdatePanel(converter);
}

void CConverterPanel::Save()
{
    StartFolder(SaveFolder());
    const QString name = ChooseParameterFileToSave(this, SaveFolder(), "CConverterPanel");
    if (!name.isEmpty())
        emit SaveParamsAsked(name, mpParameters);
}

int CConverterPanel::ConverterOfFile(const QString& path, QString& reason)
{
    QString content;
    if (!ReadParameterFileContent(path, content, reason))
        return -1;
    const QString word = QStringLiteral("converter");
    const int at = content.indexOf(word, 0, Qt::CaseInsensitive);
    if (at >= 0)
        content = content.left(at).toLower();
    // An empty key is found in every name: it names no converter.
    if (content.trimmed().isEmpty())
        return -1;
    QStringList names;
    emit GetConverterNameList(names);
    QString joined;
    for (const QString& converterName : std::as_const(names))
        joined += converterName + QLatin1Char(';');
    if (!joined.contains(content, Qt::CaseInsensitive) || !mpMediaSelectorPanel)
        return -1;
    const QComboBox* combo = mpMediaSelectorPanel->GetConverterSelector();
    for (int i = 0; i < combo->count(); ++i)
        if (combo->itemText(i).contains(content, Qt::CaseInsensitive))
            return i;
    return -1;
}

void CConverterPanel::Load()
{
    StartFolder(LoadFolder());
    const QString name = ChooseParameterFileToLoad(this, LoadFolder());
    if (name.isEmpty())
        return;
    QString reason;
    const int converter = ConverterOfFile(name, reason);
    if (converter < 0 && !reason.isEmpty()) {
        // Not read as XML: the application refuses it as it refuses any parameter file, in its box and the log.
        const int current = CurrentConverter();
        ForgetParameters();
        emit LoadParamsAsked(current, name);
        UpdatePanel(current);
        return;
    }
    if (converter < 0) {
        WarnParameterFileNotRecognised(name, "CConverterPanel");
        return;
    }
    mLastFile = name;
    QComboBox* combo = mpMediaSelectorPanel->GetConverterSelector();
    if (converter != combo->currentIndex()) {
        if (!AskToSwitchConverter("CConverterPanel"))
            return;
        combo->setCurrentIndex(converter);
        emit ParameterFileTypeChanged(converter);
    }
    ForgetParameters();
    emit LoadParamsAsked(converter, name);
    UpdatePanel(converter);
}

void CConverterPanel::show()
{
    if (!mFirstShow) {
        mFirstShow = true;
        UpdatePanel(0);
    }
    QWidget::show();
}
