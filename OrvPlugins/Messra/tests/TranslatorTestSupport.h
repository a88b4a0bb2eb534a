#pragma once
// Runs a translator on a source file the way the host does.
#include "Documents/CDocument.h"
#include "MessraTestSupport.h"
#include "Plugin/CPluginBase.h"
#include "UserDataReader.h"
#include <QFile>
#include <memory>

namespace MessraTest {
struct Outcome
{
    bool ok = false;
    QList<QByteArray> chunks;
    QString log;
};

inline Outcome Translate(CPluginBase& translator, const QString& sourcePath, CProfile* profile, CParameters* parameters)
{
    Outcome run;
    QFile file(sourcePath);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << sourcePath.toStdString();
    translator.GetConversionLog()->AddText(7, QString());
    std::unique_ptr<CDocument> document(translator.Import(file.readAll()));
    EXPECT_TRUE(document);
    if (!document)
        return run;
    document->SetName(sourcePath);
    translator.SetProfile(profile);
    translator.SetParameters(parameters);
    run.ok = translator.Convert(document.get());
    run.chunks = translator.GetRawDataList();
    run.log = translator.GetConversionLog()->GetSummaryText();
    EXPECT_EQ(translator.GetConversionLog()->GetDetailedText(), run.log);
    translator.ClearRawData();
    return run;
}

// Runs a fresh translator on files written into a fresh folder, against a test
// profile and the parameters authored for the translator.
template <class TTranslator>
class TranslatorFixture : public ::testing::Test
{
protected:
    TranslatorFixture(int maxMediaSize, const char* parametersFile)
        : mMaxMediaSize(maxMediaSize), mParametersFile(parametersFile)
    {}
    void SetUp() override
    {
        profile = MakeProfile(folder, mMaxMediaSize);
        parameters = LoadAuthoredParameters(mParametersFile);
    }

    Outcome Source(const char* name, const QByteArray& bytes)
    {
        const QString path = folder.Write(name, bytes);
        TTranslator translator;
        return Translate(translator, path, profile.get(), parameters.get());
    }

    TempFolder folder;
    std::unique_ptr<CProfile> profile;
    std::unique_ptr<CParameters> parameters;

private:
    int mMaxMediaSize;
    const char* mParametersFile;
};

inline void SetBool(CParameters& parameters, const char* name, bool value)
{
    CBoolParameter* parameter = parameters.GetBoolParameter(QString::fromLatin1(name));
    ASSERT_TRUE(parameter) << name;
    parameter->mValue = value;
}

// The GSM septets of a chunk, read independently; fails the test when they do
// not fill the chunk exactly.
inline QByteArray SeptetsOf(const QByteArray& chunk, int count)
{
    UserDataReader::UserData ud;
    QString error;
    EXPECT_TRUE(UserDataReader::Parse(chunk, ud, &error)) << error.toStdString();
    QByteArray septets;
    EXPECT_TRUE(UserDataReader::Septets(chunk, ud.udhl, count, septets, &error)) << error.toStdString();
    return septets;
}

inline UserDataReader::UserData HeaderOf(const QByteArray& chunk)
{
    UserDataReader::UserData ud;
    QString error;
    EXPECT_TRUE(UserDataReader::Parse(chunk, ud, &error)) << error.toStdString();
    return ud;
}
} // namespace MessraTest
