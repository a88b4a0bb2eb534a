#include "Gui/Panels/CSmsBuilderPanel.h"
#include "Core/CUserPrompt.h"
#include "Gui/Browsing/FileLineControls.h"
#include "Gui/Panels/CParameterButtonGrid.h"
#include "Gui/Panels/CSmsSelectorPanel.h"
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
    return GuiText("CSmsBuilderPanel", id);
}

} // namespace

CSmsBuilderPanel::CSmsBuilderPanel(QWidget* parent, const QString& name)
    : QGroupBox(parent), mpScrollView(new CParameterScrollArea(this))
{
    setObjectName(name);
    setTitle(Text("id_options_group_panel"));
    mpParameterView = mpScrollView->GetView();

    auto* grid = new CParameterButtonGrid(
        this, "CSmsBuilderPanel", "id_tool_tip_translator_parameters_load_default_button",
        "id_tool_tip_translator_parameters_save_button", "id_tool_tip_translator_parameters_load_button");
    mpLoadDefaultButton = grid->GetLoadDefaultButton();
    mpSaveButton = grid->GetSaveButton();
    mpLoadButton = grid->GetLoadButton();

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(mpScrollView, 1);
    layout->addWidget(grid, 0, Qt::AlignLeft);
    CheckConnection(connect(mpLoadDefaultButton, &QPushButton::clicked, this, &CSmsBuilderPanel::LoadDefault));
    CheckConnection(connect(mpSaveButton, &QPushButton::clicked, this, &CSmsBuilderPanel::Save));
    CheckConnection(connect(mpLoadButton, &QPushButton::clicked, this, &CSmsBuilderPanel::Load));
    // Nothing to edit until a translator's set is shown.
    for (QPushButton* button : {mpLoadDefaultButton, mpSaveButton, mpLoadButton})
        button->setEnabled(false);
}

QString& CSmsBuilderPanel::LoadFolder()
{
    static QString folder;
    return folder;
}

QString& CSmsBuilderPanel::SaveFolder()
{
    static QString folder;
    return folder;
}

int CSmsBuilderPanel::CurrentTranslator() const
{
    return mpSmsSelectorPanel ? mpSmsSelectorPanel->GetConverterSelector()->currentIndex() : 0;
}

QString CSmsBuilderPanel::StartFolder(QString& memory) const
{
    if (memory.isEmpty() && mpSmsSelectorPanel)
        memory = mpSmsSelectorPanel->GetCurrentFolder();
    return memory;
}

void CSmsBuilderPanel::ForgetParameters()
{
    mpParameterView->SetParameters(nullptr);
    mpParameters = nullptr;
}

void CSmsBuilderPanel::UpdatePanel(int translator)
{
    QString source;
    if (mpSmsSelectorPanel && !mpSmsSelectorPanel->GetCurrentFileName().isEmpty()) {
        // With its folder: the process's current directory may have moved on since the file was chosen.
        source = mpSmsSelectorPanel->GetCurrentFolder();
        if (!source.isEmpty() && !source.endsWith(QLatin1Char('/')))
            source += QLatin1Char('/');
        source += mpSmsSelectorPanel->GetCurrentFileName();
    }
    CParameters* parameters = nullptr;
    emit GetTraductorParameters(translator, &parameters, source);
    mpParameters = parameters;
    mpScrollView->ShowParameters(parameters);
    const bool any = parameters && !parameters->IsEmpty();
    mpLoadDefaultButton->setEnabled(any);
    mpSaveButton->setEnabled(any);
    mpLoadButton->setEnabled(any);
}

void CSmsBuilderPanel::SetTranslatorParameters(CParameters** parameters)
{
    *parameters = mpParameters;
}

void CSmsBuilderPanel::LoadDefault()
{
    const int translator = CurrentTranslator();
    ForgetParameters();
    emit LoadDefaultTraductorParamsAsked(translator);
    UpdatePanel(translator);
}

void CSmsBuilderPanel::Save()
{
    StartFolder(SaveFolder());
    const QString name = ChooseParameterFileToSave(this, SaveFolder(), "CSmsBuilderPanel");
    if (!name.isEmpty())
        emit SaveParamsAsked(name, mpParameters);
}

int CSmsBuilderPanel::TranslatorOfFile(const QString& path, QString& reason)
{
    QString content;
    if (!mpSmsSelectorPanel || !ReadParameterFileContent(path, content, reason))
        return -1;
    // A file declares its translator by the first three letters of its description, which begin both an
    // output extension and the translator's name. An empty key would be found in every extension.
    const QString key = content.left(3).toLower();
    if (key.isEmpty())
        return -1;
    const QComboBox* combo = mpSmsSelectorPanel->GetConverterSelector();
    QString extensions;
    for (int i = 0; i < combo->count(); ++i) {
        QString extension;
        emit GetExportExtensionForTranslator(extension, i);
        extensions += extension + QLatin1Char(';');
    }
    if (!extensions.contains(key, Qt::CaseInsensitive))
        return -1;
    for (int i = 0; i < combo->count(); ++i)
        if (combo->itemText(i).left(3).toLower() == key)
            return i;
    return -1;
}

void CSmsBuilderPanel::LoadInto(int translator, const QString& file)
{
    ForgetParameters();
    emit LoadTraductorParamsAsked(translator, file);
    UpdatePanel(translator);
}

void CSmsBuilderPanel::Load()
{
    StartFolder(LoadFolder());
    const QString name = ChooseParameterFileToLoad(this, LoadFolder());
    if (name.isEmpty())
        return;
    QString reason;
    const int translator = TranslatorOfFile(name, reason);
    if (translator < 0 && !reason.isEmpty()) {
        // Not read as XML: the application refuses it as it refuses any parameter file, in its box and the log.
        LoadInto(CurrentTranslator(), name);
        return;
    }
    if (translator < 0) {
        WarnParameterFileNotRecognised(name, "CSmsBuilderPanel");
        return;
    }
    mLastFile = name;
    if (translator != CurrentTranslator()) {
        // Closing the question answers No: loading the file while the combo keeps its translator would pair
        // one translator with another's parameters.
        if (!AskToSwitchConverter("CSmsBuilderPanel"))
            return;
        mpSmsSelectorPanel->GetConverterSelector()->setCurrentIndex(translator);
        emit ParameterFileTypeChanged(translator);
    }
    LoadInto(translator, name);
}

void CSmsBuilderPanel::show()
{
    if (!mShown) {
        mShown = true;
        UpdatePanel(CurrentTranslator());
    }
    QWidget::show();
}
