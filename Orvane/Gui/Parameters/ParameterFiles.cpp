#include "Gui/Parameters/ParameterFiles.h"
#include "Core/CUserPrompt.h"
#include "Gui/Widgets/GuiResources.h"
#include "Gui/Window/CGuiServices.h"
#include "Xml/CXmlFile.h"
#include <QFileInfo>

namespace {
const QString kFilter = QStringLiteral("XML (*.XML *.xml)");
} // namespace

QString ChooseParameterFileToSave(QWidget* parent, QString& folder, const char* className)
{
    CUserPrompt& prompt = CGuiServices::Prompt();
    QString name = prompt.ChooseSaveFile(parent, folder, kFilter);
    if (name.isEmpty())
        return QString();
    folder = QFileInfo(name).absolutePath();
    if (!name.contains(QStringLiteral(".xml"), Qt::CaseInsensitive))
        name += QStringLiteral(".xml");
    // The dialog asked about the name the user typed, not about the one with the extension added: whatever
    // the final name is, an existing file is replaced only when the user says so.
    if (QFileInfo::exists(name)) {
        const int answer =
            prompt.Ask(GuiText(className, "id_warning_title"), GuiText(className, "id_overwrite_text").arg(name),
                       {GuiText(className, "id_yes_caption"), GuiText(className, "id_no_caption")}, 1, 1);
        if (answer != 0)
            return QString();
    }
    return name;
}

QString ChooseParameterFileToLoad(QWidget* parent, QString& folder)
{
    const QString name = CGuiServices::Prompt().ChooseOpenFile(parent, folder, kFilter);
    if (!name.isEmpty())
        folder = QFileInfo(name).absolutePath();
    return name;
}

bool ReadParameterFileContent(const QString& path, QString& content, QString& reason)
{
    CXmlFile file;
    if (!file.Load(path)) {
        reason = file.GetLoadError();
        return false;
    }
    if (!file.GoToElement(QStringLiteral("INFO"), true) || !file.GoToElement(QStringLiteral("DESC")))
        return false;
    file.GetStringAttribute(QStringLiteral("CONTENT"), content);
    return true;
}

void WarnParameterFileNotRecognised(const QString& path, const char* className)
{
    CGuiServices::Prompt().ShowMessage(CUserPrompt::WARNING, GuiText(className, "id_warning_title"),
                                       GuiText(className, "id_param_not_recognised").arg(path));
}

bool AskToSwitchConverter(const char* className)
{
    const int answer =
        CGuiServices::Prompt().Ask(GuiText(className, "id_warning_title"), GuiText(className, "id_warning_text"),
                                   {GuiText(className, "id_yes_caption"), GuiText(className, "id_no_caption")}, 1, 1);
    return answer == 0;
}
