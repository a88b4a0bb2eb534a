#pragma once
#include "Core/CTestBase.h"
#include "Util/Types.h"
#include <QObject>
#include <QString>
#include <QStringList>

class CDocument;

// A test object that can stand in for the application towards a panel: it names fake converters and carries
// the two requests a media panel sends. Nothing connects them in the shipped program.
class CMoreTests : public QObject, public CTestBase
{
    Q_OBJECT
public:
    // The number of fake converter names, "fakeConverter0" upwards.
    enum
    {
        FAKE_CONVERTER_COUNT = 11
    };

public slots:
    // Replaces the list by the fake converter names.
    void SetListOfFakeName(QStringList& list);

signals:
    void LoadMediaAsked(QString& path, int converter, B32& success);
    void GetLoadedDocument(CDocument** document);
};
