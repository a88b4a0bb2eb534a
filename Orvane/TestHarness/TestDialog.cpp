#include "TestDialog.h"
#include "Core/CUserPrompt.h"
#include "Gui/Parameters/CParameterView.h"
#include "Gui/Widgets/GuiResources.h"
#include "Parameters/CParameters.h"
#include <QDir>
#include <QVBoxLayout>

TestDialog::TestDialog(CUserPrompt& prompt) : QDialog(nullptr), m_Prompt(prompt)
{
    // A diagnostic window left open must not keep the program running once the main window has closed.
    setAttribute(Qt::WA_QuitOnClose, false);
}

std::unique_ptr<CParameters> TestDialog::LoadChosenParameters()
{
    const QString path = m_Prompt.ChooseOpenFile(this, QDir::currentPath(), QStringLiteral("XML (*.XML *.xml)"));
    if (path.isEmpty())
        return nullptr;
    auto parameters = std::make_unique<CParameters>();
    if (!parameters->Load(path))
        return nullptr;
    return parameters;
}

void TestDialog::Test() {}

void TestDialog::TestParameters()
{
    const std::unique_ptr<CParameters> parameters = LoadChosenParameters();
    if (!parameters)
        return;
    QDialog window(this);
    window.setWindowTitle(QStringLiteral("Parameters"));
    auto* view = new CParameterView(&window);
    auto* layout = new QVBoxLayout(&window);
    layout->addWidget(view);
    view->SetParameters(parameters.get());
    CheckConnection(connect(view, &CParameterView::Changed, this, &TestDialog::Changed));
    m_Prompt.Exec(window);
    // The view points into the set: it lets go of it before the set is deleted.
    view->SetParameters(nullptr);
}

void TestDialog::Changed() {}
