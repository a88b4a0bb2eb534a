#include "TestDialog.h"
#include "Core/CUserPrompt.h"
#include "Parameters/CParameters.h"
#include <QDir>

TestDialog::TestDialog(CUserPrompt& prompt) : QDialog(nullptr), m_Prompt(prompt)
{
    // A diagnostic window left open must not keep the program running once the main window has closed.
    setAttribute(Qt::WA_QuitOnClose, false);
}

std::unique_ptr<CParameters> TestDialog::LoadChosenParameters()
{
    const QString path =
        m_Prompt.ChooseOpenFile(this, QDir::currentPath(), QStringLiteral("XML (*.XML *.xml)"));
    if (path.isEmpty())
        return nullptr;
    auto parameters = std::make_unique<CParameters>();
    if (!parameters->Load(path))
        return nullptr;
    return parameters;
}

void TestDialog::Test()
{
}

void TestDialog::TestParameters()
{
    const std::unique_ptr<CParameters> parameters = LoadChosenParameters();
    if (!parameters)
        return;
    // The set lives until the end of this slot. The parameter view, once the user interface has one, shows
    // it here modally through the prompt and is cleared before the set goes.
}

void TestDialog::Changed()
{
}
