#pragma once
#include <QString>
#include <QStringList>
#include <functional>

class QDialog;
class QWidget;

// Every message box, question and modal dialog of the application goes through this one interface:
// real widgets in window mode, log lines and fixed answers in command-line mode, scripted answers in tests.
class CUserPrompt
{
public:
    enum { WARNING = 0, CRITICAL = 1 };

    virtual ~CUserPrompt() = default;
    // A message with one button; kind 0 warning, 1 critical, any other kind shows nothing.
    virtual void ShowMessage(int kind, const QString& title, const QString& text) = 0;
    // A warning question; returns the index of the chosen answer.
    virtual int Ask(const QString& title, const QString& text, const QStringList& answers, int defaultAnswer,
                    int escapeAnswer) = 0;
    // Runs a modal dialog; returns its result (QDialog::Accepted or QDialog::Rejected).
    virtual int Exec(QDialog& dialog) = 0;
    // Asks for an existing file, starting in folder, offering the names that match filter; returns the chosen
    // path, or an empty string when the user cancels.
    virtual QString ChooseOpenFile(QWidget* parent, const QString& folder, const QString& filter) = 0;
};

// Window mode: message boxes and dialogs on screen.
class CWidgetPrompt : public CUserPrompt
{
public:
    void ShowMessage(int kind, const QString& title, const QString& text) override;
    int Ask(const QString& title, const QString& text, const QStringList& answers, int defaultAnswer,
            int escapeAnswer) override;
    int Exec(QDialog& dialog) override;
    QString ChooseOpenFile(QWidget* parent, const QString& folder, const QString& filter) override;
};

// Command-line mode: a message becomes its text and a line feed in the run log; questions take their default
// answer, dialogs are rejected and file questions cancelled, so nothing modal ever opens.
class CLogPrompt : public CUserPrompt
{
public:
    explicit CLogPrompt(std::function<void(const QString&)> log) : m_Log(std::move(log)) {}

    void ShowMessage(int kind, const QString& title, const QString& text) override;
    int Ask(const QString& title, const QString& text, const QStringList& answers, int defaultAnswer,
            int escapeAnswer) override;
    int Exec(QDialog& dialog) override;
    QString ChooseOpenFile(QWidget* parent, const QString& folder, const QString& filter) override;

private:
    std::function<void(const QString&)> m_Log;
};
