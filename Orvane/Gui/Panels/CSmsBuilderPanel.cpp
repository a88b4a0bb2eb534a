#include "Gui/Panels/CSmsBuilderPanel.h"
#include "Core/CUserPrompt.h"
#include "Gui/Browsing/FileLineControls.h"
#include "Gui/Panels/CSmsSelectorPanel.h"
#include "Gui/Parameters/CParameterView.h"
#include "Gui/Parameters/ParameterFiles.h"
#include "Gui/Widgets/GuiResources.h"
#include "Gui/Window/CGuiServices.h"
#include "Parameters/CParameters.h"
#include <QComboBox>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QPushButton>
#include <QScrollArea>
#include <QVBoxLayout>

namespace {

QString Text(const char* id)
{
    return GuiText("CSmsBuilderPanel", id);
}

QPushButton* MakeButton(QWidget* parent, const char* caption, const char* toolTip)
{
    auto* button = new QPushButton(Text(caption), parent);
    button->setFont(QFont(QStringLiteral("Helvetica"), 8, QFont::Normal));
    button->setToolTip(Text(toolTip));
    button->setFixedSize(button->sizeHint());
    return button;
}

} // namespace

CSmsBuilderPanel::CSmsBuilderPanel(QWidget* parent, const QString& name)
    : QGroupBox(parent), mpScrollView(new QScrollArea(this))
{
    setObjectName(name);
    setTitle(Text("id_options_group_panel"));
    mpScrollView->setObjectName(QStringLiteral("QScrollView"));
    mpScrollView->setWidgetResizable(true);
    // The scroll area owns the box from here on.
    auto* box = new QWidget;
    auto* boxLayout = new QVBoxLayout(box);
    boxLayout->setContentsMargins(0, 0, 0, 0);
    mpParameterView = new CParameterView(box);
    boxLayout->addWidget(mpParameterView);
    mpScrollView->setWidget(box);

    auto* grid = new QWidget(this);
    auto* gridLayout = new QGridLayout(grid);
    gridLayout->setContentsMargins(0, 0, 0, 0);
    auto* defaultBox = new QWidget(grid);
    auto* defaultLayout = new QHBoxLayout(defaultBox);
    defaultLayout->setContentsMargins(0, 0, 0, 0);
    mpLoadDefaultButton =
        MakeButton(defaultBox, "id_load_default_caption", "id_tool_tip_translator_parameters_load_default_button");
    defaultLayout->addWidget(mpLoadDefaultButton);
    auto* buttonBox = new QWidget(grid);
    buttonBox->setObjectName(QStringLiteral("ButtonHBox"));
    auto* saveLoad = new QHBoxLayout(buttonBox);
    saveLoad->setContentsMargins(0, 0, 0, 0);
    mpSaveButton = MakeButton(buttonBox, "id_save_caption", "id_tool_tip_translator_parameters_save_button");
    mpLoadButton = MakeButton(buttonBox, "id_load_caption", "id_tool_tip_translator_parameters_load_button");
    saveLoad->addWidget(mpSaveButton);
    saveLoad->addWidget(mpLoadButton);
    gridLayout->addWidget(defaultBox, 0, 0, Qt::AlignLeft);
    gridLayout->addWidget(buttonBox, 1, 0, Qt::AlignLeft);
    grid->setFixedSize(grid->sizeHint());

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(mpScrollView, 1);
    auto* row = new QHBoxLayout;
    row->addWidget(grid);
    row->addStretch(1);
    layout->addLayout(row);
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
    mpParameterView->SetParameters(parameters);
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

int CSmsBuilderPanel::TranslatorOfFile(const QString& path)
{
    QString content;
    if (!mpSmsSelectorPanel || !ReadParameterFileContent(path, content))
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
    const int translator = TranslatorOfFile(name);
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
