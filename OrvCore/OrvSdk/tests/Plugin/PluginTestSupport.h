#pragma once
#include <QByteArray>
#include <QList>
#include <QObject>
#include <QStringList>
#include <QtGlobal>

#include "ScopedAppFolder.h"
#include "tests/SdkTestSupport.h"

// Receives SetProgress through a string connection, as older host code does.
class ProgressReceiver : public QObject
{
    Q_OBJECT
public slots:
    void OnProgress(const QString text, int progress)
    {
        m_Texts << text;
        m_Values << progress;
    }

public:
    QStringList m_Texts;
    QList<int> m_Values;
};
