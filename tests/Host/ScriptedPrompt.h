#pragma once
// The prompt of in-process tests: records every message and question and answers from a script.
#include "Core/CUserPrompt.h"
#include <QList>
#include <QString>
#include <QStringList>
#include <vector>

// Questions are recorded as "title|text|answer/answer/...|default|escape"; once the script runs out, each
// question takes its default answer. Dialogs are refused and counted. File questions are recorded as
// "folder|filter" and answered from mFiles; once that runs out, they are cancelled.
class CScriptedPrompt : public CUserPrompt
{
public:
    struct Shown
    {
        int kind;
        QString title;
        QString text;
    };

    void ShowMessage(int kind, const QString& title, const QString& text) override
    {
        mShown.push_back({kind, title, text});
    }
    int Ask(const QString& title, const QString& text, const QStringList& answers, int defaultAnswer,
            int escapeAnswer) override
    {
        mQuestions.append(title + QLatin1Char('|') + text + QLatin1Char('|') + answers.join(QLatin1Char('/'))
                          + QStringLiteral("|%1|%2").arg(defaultAnswer).arg(escapeAnswer));
        return mAnswers.isEmpty() ? defaultAnswer : mAnswers.takeFirst();
    }
    int Exec(QDialog&) override
    {
        ++mDialogCount;
        return 0;
    }
    QString ChooseOpenFile(QWidget*, const QString& folder, const QString& filter) override
    {
        mFileQuestions.append(folder + QLatin1Char('|') + filter);
        return mFiles.isEmpty() ? QString() : mFiles.takeFirst();
    }

    // Every message shown, as "title|text".
    QStringList Messages() const
    {
        QStringList list;
        for (const Shown& shown : mShown)
            list.append(shown.title + QLatin1Char('|') + shown.text);
        return list;
    }

    std::vector<Shown> mShown;
    QStringList mQuestions;
    QList<int> mAnswers;
    int mDialogCount = 0;
    QStringList mFileQuestions;
    QStringList mFiles;
};

// What Messages gives after exactly one message.
inline QStringList OneMessage(const QString& title, const QString& text)
{
    return QStringList{title + QLatin1Char('|') + text};
}
