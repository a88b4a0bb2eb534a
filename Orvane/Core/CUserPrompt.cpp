#include "CUserPrompt.h"
#include <QDialog>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>

void CWidgetPrompt::ShowMessage(int kind, const QString& title, const QString& text)
{
    if (kind == WARNING)
        QMessageBox::warning(nullptr, title, text);
    else if (kind == CRITICAL)
        QMessageBox::critical(nullptr, title, text);
    else if (kind == INFORMATION)
        QMessageBox::information(nullptr, title, text);
}

int CWidgetPrompt::Ask(const QString& title, const QString& text, const QStringList& answers, int defaultAnswer,
                       int escapeAnswer)
{
    QMessageBox box(QMessageBox::Warning, title, text, QMessageBox::NoButton, nullptr);
    QList<QPushButton*> buttons;
    for (int i = 0; i < answers.size(); ++i)
        buttons.append(box.addButton(answers.at(i), i == 0 ? QMessageBox::AcceptRole : QMessageBox::RejectRole));
    if (defaultAnswer >= 0 && defaultAnswer < buttons.size())
        box.setDefaultButton(buttons.at(defaultAnswer));
    if (escapeAnswer >= 0 && escapeAnswer < buttons.size())
        box.setEscapeButton(buttons.at(escapeAnswer));
    box.exec();
    const int chosen = int(buttons.indexOf(qobject_cast<QPushButton*>(box.clickedButton())));
    return chosen >= 0 ? chosen : escapeAnswer;
}

int CWidgetPrompt::Exec(QDialog& dialog)
{
    return dialog.exec();
}

QString CWidgetPrompt::ChooseOpenFile(QWidget* parent, const QString& folder, const QString& filter)
{
    return QFileDialog::getOpenFileName(parent, QString(), folder, filter);
}

QString CWidgetPrompt::ChooseSaveFile(QWidget* parent, const QString& folder, const QString& filter)
{
    return QFileDialog::getSaveFileName(parent, QString(), folder, filter, nullptr, QFileDialog::DontConfirmOverwrite);
}

QString CUserPrompt::ChooseOpenFile(QWidget*, const QString&, const QString&)
{
    return QString();
}

QString CUserPrompt::ChooseSaveFile(QWidget*, const QString&, const QString&)
{
    return QString();
}

void CLogPrompt::ShowMessage(int, const QString&, const QString& text)
{
    if (m_Log)
        m_Log(text + QLatin1Char('\n'));
}

int CLogPrompt::Ask(const QString&, const QString&, const QStringList&, int defaultAnswer, int)
{
    return defaultAnswer;
}

int CLogPrompt::Exec(QDialog&)
{
    return QDialog::Rejected;
}

QString CLogPrompt::ChooseOpenFile(QWidget*, const QString&, const QString&)
{
    return QString();
}
