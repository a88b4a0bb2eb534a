// The window's settings file: geometry, the six working folders, the two options and the chosen profile,
// all attributes of the root element "OrvaneMainWindowSettings".
#include "Gui/Panels/CBatchSelectorPanel.h"
#include "Gui/Panels/CDestinationSelectorPanel.h"
#include "Gui/Panels/CMediaSelectorPanel.h"
#include "Gui/Panels/CSmsSelectorPanel.h"
#include "Gui/Window/COrvTabview.h"
#include "Gui/Window/OrvaneMainWindow.h"
#include "Xml/CXmlFile.h"
#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QMenu>

namespace {

const char* const FOLDER_ATTRIBUTES[3][2] = {{"Media_Input_Path", "Media_Output_Path"},
                                             {"SMS_Input_Path", "SMS_Output_Path"},
                                             {"Batch_Input_Path", "Batch_Output_Path"}};

QString Name(const char* name)
{
    return QString::fromLatin1(name);
}

// A whole number in base 10; any other text reads as 0; an absent attribute keeps the start value.
int ReadInt(const CXmlFile& file, const char* name, int start)
{
    QString text;
    if (!file.GetStringAttribute(Name(name), text))
        return start;
    bool ok = false;
    const int value = text.trimmed().toInt(&ok, 10);
    return ok ? value : 0;
}

bool ReadFlag(const CXmlFile& file, const char* name)
{
    QString text = QStringLiteral("true");
    file.GetStringAttribute(Name(name), text);
    return text == QLatin1String("true");
}

QString FlagText(bool on)
{
    return on ? QStringLiteral("true") : QStringLiteral("false");
}

} // namespace

int OrvaneMainWindow::LoadSettings(QString path)
{
    CXmlFile file;
    const bool loaded = file.Load(path);
    if (loaded) {
        const int x = ReadInt(file, "Window_Pos_X", 0);
        const int y = ReadInt(file, "Window_Pos_Y", 0);
        const int width = ReadInt(file, "Window_Size_X", -1);
        const int height = ReadInt(file, "Window_Size_Y", -1);
        // The window system never makes a window smaller than its contents need.
        resize(QSize(width, height).expandedTo(minimumSizeHint()).expandedTo(QSize(1, 1)));
        move(x, y);
        for (int tab = 0; tab < 3; ++tab)
            SetTabFolders(file, tab);
        mpWarningItem->setChecked(ReadFlag(file, "Warning_enabled"));
        mpResizeItem->setChecked(ReadFlag(file, "Resize_enabled"));
    }
    // Told also on a first start, so that the panels and the converter follow the items as shown.
    emit Warnings(mpWarningItem->isChecked() ? 1 : 0);
    emit ResizeSystematic(mpResizeItem->isChecked() ? 1 : 0);
    FillTargetMenu();
    int profile = loaded ? ReadInt(file, "Last_active_profile", 0) : 0;
    const int items = int(mpTargetMenu->actions().size());
    if (profile < 0 || profile >= items)
        profile = 0;
    if (profile < items)
        mpTargetMenu->actions().at(profile)->setChecked(true);
    SetCurrentProfile(profile);
    return loaded ? 1 : 0;
}

void OrvaneMainWindow::SetTabFolders(CXmlFile& settings, int tab)
{
    if (tab < 0 || tab > 2)
        return;
    QString input;
    QString output;
    settings.GetStringAttribute(Name(FOLDER_ATTRIBUTES[tab][0]), input);
    settings.GetStringAttribute(Name(FOLDER_ATTRIBUTES[tab][1]), output);
    CheckFolders(input, output);
    switch (tab) {
    case COrvTabview::MEDIA_TAB:
        mpTabview->mpMediaSelectorPanel->SetCurrentPath(input);
        mpTabview->mpMediaDestinationPanel->SetOutputFolder(output);
        break;
    case COrvTabview::SMS_TAB:
        mpTabview->mpSmsSelectorPanel->SetCurrentFolder(input);
        mpTabview->mpSmsDestinationPanel->SetOutputFolder(output);
        break;
    default:
        mpTabview->mpBatchSelectorPanel->SetCurrentFolder(input);
        mpTabview->mpBatchDestinationPanel->SetOutputFolder(output);
        break;
    }
}

void OrvaneMainWindow::CheckFolders(QString& input, QString& output)
{
    for (QString* folder : {&input, &output}) {
        if (!folder->isNull() && !QFileInfo(*folder).isDir())
            emit GetCurrentPath(*folder);
    }
}

int OrvaneMainWindow::SaveSettings(QString path)
{
    CXmlFile file;
    if (!file.CreateDocument(QStringLiteral("OrvaneMainWindowSettings")))
        return 0;
    file.SetIntAttribute(QStringLiteral("Window_Pos_X"), pos().x());
    file.SetIntAttribute(QStringLiteral("Window_Pos_Y"), pos().y());
    file.SetIntAttribute(QStringLiteral("Window_Size_X"), width());
    file.SetIntAttribute(QStringLiteral("Window_Size_Y"), height());
    const QString inputs[3] = {mpTabview->mpMediaSelectorPanel->GetCurrentFolder(),
                               mpTabview->mpSmsSelectorPanel->GetCurrentFolder(),
                               mpTabview->mpBatchSelectorPanel->GetCurrentFolder()};
    const CDestinationSelectorPanel* outputs[3] = {mpTabview->mpMediaDestinationPanel, mpTabview->mpSmsDestinationPanel,
                                                   mpTabview->mpBatchDestinationPanel};
    for (int tab = 0; tab < 3; ++tab) {
        file.SetStringAttribute(Name(FOLDER_ATTRIBUTES[tab][0]), inputs[tab]);
        const QString output = outputs[tab]->GetOutputFolder();
        file.SetStringAttribute(Name(FOLDER_ATTRIBUTES[tab][1]), output.isNull() ? QStringLiteral("") : output);
    }
    file.SetStringAttribute(QStringLiteral("Warning_enabled"), FlagText(mpWarningItem->isChecked()));
    file.SetStringAttribute(QStringLiteral("Resize_enabled"), FlagText(mpResizeItem->isChecked()));
    const int checked = GetCheckedProfile();
    if (checked >= 0)
        file.SetIntAttribute(QStringLiteral("Last_active_profile"), checked);
    return file.Save(path) ? 1 : 0;
}
