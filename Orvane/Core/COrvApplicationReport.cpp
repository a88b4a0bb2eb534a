#include "COrvApplication.h"
#include "Engine/CWaitingPopup.h"
#include "Plugin/CConversionLog.h"
#include "Plugin/CPluginBase.h"
#include <QGuiApplication>

CUserPrompt& COrvApplication::GetUserPrompt()
{
    if (m_pInstalledPrompt)
        return *m_pInstalledPrompt;
    // Without a display a modal box would never return: such runs (the command line, the help) report to the
    // run log.
    if (m_CommandLine.mCommandLineMode == 1 || QGuiApplication::platformName() == QLatin1String("offscreen"))
        return m_LogPrompt;
    return m_WidgetPrompt;
}

void COrvApplication::SetUserPrompt(CUserPrompt* prompt)
{
    m_pInstalledPrompt = prompt;
}

void COrvApplication::Report(int kind, const QString& title, const QString& text)
{
    // A box never opens with the waiting popup still up behind it: the popup goes first, and comes back after
    // the box only for a run that goes on.
    CWaitingPopup* popup = m_Engine.State().mpPopup.get();
    if (popup)
        popup->Hide();
    GetUserPrompt().ShowMessage(kind, title, text);
    if (popup && popup == m_Engine.State().mpPopup.get())
        popup->Show();
}

void COrvApplication::Log(const QString& text)
{
    m_RunLog.Write(text);
}

void COrvApplication::LogConversionLog(CPluginBase* converter)
{
    if (!converter)
        return;
    Log(converter->GetConversionLog()->GetSummaryText());
}
