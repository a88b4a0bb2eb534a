#pragma once
#include <QMessageBox>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>

class QDialog;
class QWidget;

// Every message box, question and modal dialog of the application goes through this one interface:
// real widgets in window mode, log lines and fixed answers in command-line mode, scripted answers in tests.
class CUserPrompt
{
public:
    enum
    {
        WARNING = 0,
        CRITICAL = 1,
        INFORMATION = 2
    };

    virtual ~CUserPrompt() = default;
    // A message with one button; kind 0 warning, 1 critical, 2 information, any other kind shows nothing.
    virtual void ShowMessage(int kind, const QString& title, const QString& text) = 0;
    // A warning question; returns the index of the chosen answer.
    virtual int Ask(const QString& title, const QString& text, const QStringList& answers, int defaultAnswer,
                    int escapeAnswer) = 0;
    // Runs a modal dialog; returns its result (QDialog::Accepted or QDialog::Rejected).
    virtual int Exec(QDialog& dialog) = 0;
    // The path of a file to open or to save in, chosen from the folder with the filter ("XML (*.XML *.xml)");
    // empty when cancelled, and always empty where nothing can be shown. Saving never asks about replacing a
    // file: whoever writes asks about the final name.
    virtual QString ChooseOpenFile(QWidget* parent, const QString& folder, const QString& filter);
    virtual QString ChooseSaveFile(QWidget* parent, const QString& folder, const QString& filter);
};

// Window mode: message boxes and dialogs on screen, over the main window.
class CWidgetPrompt : public CUserPrompt
{
public:
    // The box of a message or a question, before its buttons: a child of the main window, opening over it, whose
    // text has every word too wide for a line of the box (a long path) shortened to that width as the run log
    // shortens a long name, keeping its start, "..." and the file's name.
    static std::unique_ptr<QMessageBox> MakeBox(QMessageBox::Icon icon, const QString& title, const QString& text);
    // The width a word of a box's text may take: what the box may grow to on the screen, less its icon.
    static int BoxLineWidth(const QMessageBox& box);

    void ShowMessage(int kind, const QString& title, const QString& text) override;
    int Ask(const QString& title, const QString& text, const QStringList& answers, int defaultAnswer,
            int escapeAnswer) override;
    int Exec(QDialog& dialog) override;
    QString ChooseOpenFile(QWidget* parent, const QString& folder, const QString& filter) override;
    QString ChooseSaveFile(QWidget* parent, const QString& folder, const QString& filter) override;
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
