#pragma once
#include "Engine/CMainWindowLink.h"
#include "Gui/Window/OrvaneMainWindow.h"

// The engine's calls into the main window, passed on to the window's slots.
class CMainWindowAdapter : public CMainWindowLink
{
public:
    explicit CMainWindowAdapter(OrvaneMainWindow& window) : m_Window(window) {}

    void SetProgress(const QString& text, int progress) override { m_Window.SetProgress(text, progress); }
    void InitProgressBar() override { m_Window.InitProgressBar(); }
    void ValidateConversion(B32 converted) override { m_Window.ValidateConversion(converted); }
    QWidget* GetWindowWidget() override { return &m_Window; }

private:
    OrvaneMainWindow& m_Window;
};

class COrvApplication;

// The main window's application-bound signals, each to the application's slot of the same role.
void ConnectMainWindow(OrvaneMainWindow& window, COrvApplication& application);
