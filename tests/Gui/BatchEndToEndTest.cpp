// A batch chosen on the batch tab's panels, run in process on the shipped application folder, writes the
// same files, byte for byte, as the command line writes for the same sources, phone and parameter files.
#include "Core/CBatchInfo.h"
#include "Core/COrvApplication.h"
#include "Gui/Browsing/CFileSelectorControl.h"
#include "Gui/Browsing/CSelectorEdit.h"
#include "Gui/Panels/CBatchSelectorPanel.h"
#include "Gui/Panels/CParamsSelectorPanel.h"
#include "Gui/Window/CGuiServices.h"
#include "Host/CPluginClass.h"
#include "Plugin/CPluginBase.h"
#include "QtPrinters.h"
#include "ScratchApp.h"
#include "ScriptedPrompt.h"
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <iostream>
#include <memory>

namespace {

const QString PHONE = QStringLiteral("Model B");

QString Example(const char* name)
{
    return QStringLiteral(ORV_SOURCE_DIR "/examples/") + QString::fromLatin1(name);
}

// Every file of a folder with its bytes, by name.
QStringList Contents(const QString& folder)
{
    QStringList files;
    const QDir dir(folder);
    for (const QString& name : dir.entryList(QDir::Files, QDir::Name)) {
        QFile file(dir.filePath(name));
        file.open(QIODevice::ReadOnly);
        files.append(name + QLatin1Char(' ') + QString::fromLatin1(file.readAll().toHex()));
    }
    return files;
}

class BatchEndToEndTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_Work.isValid());
        qputenv("ORVANEDIR", ORV_APP_DIR);
        QDir::setCurrent(m_Work.path());
        m_Arguments.Set({QStringLiteral("/logfile=run.log")});
        m_Application = std::make_unique<COrvApplication>(m_Arguments.Count(), m_Arguments.Vector());
        m_Application->SetUserPrompt(&m_Prompt);
        ASSERT_EQ(m_Application->Init(), 1);
        CGuiServices::SetPrompt(&m_Prompt);
        QStringList phones;
        m_Application->GetProfileNameList(phones);
        m_Application->SetCurrentProfile(int(phones.indexOf(PHONE)));
    }
    void TearDown() override
    {
        CGuiServices::Clear();
        if (m_Application)
            m_Application->Shutdown();
        m_Application.reset();
    }
    int EntryIndex(const char* extension) const
    {
        const QList<CPluginClass*> list = m_Application->GetEntireList(m_Application->GetCurrentProfile());
        for (int i = 0; i < list.size(); ++i) {
            if (list.at(i)->GetConverter()->GetExportExtension() == QLatin1String(extension))
                return i;
        }
        ADD_FAILURE() << "no converter writes " << extension;
        return -1;
    }
    QString Path(const QString& name) const { return m_Work.path() + QLatin1Char('/') + name; }
    int CommandLine(const QStringList& arguments)
    {
        QProcess process;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("ORVANEDIR"), QStringLiteral(ORV_APP_DIR));
        process.setProcessEnvironment(environment);
        process.setWorkingDirectory(m_Work.path());
        process.start(QStringLiteral(ORV_PROGRAM_FILE), arguments + QStringList{QStringLiteral("/logfile=cli.log")});
        if (!process.waitForFinished(60000)) {
            process.kill();
            process.waitForFinished(1000);
            return -1;
        }
        return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    }

    CProcessStateKeeper m_Keeper;
    QTemporaryDir m_Work;
    CProgramArguments m_Arguments;
    CScriptedPrompt m_Prompt;
    std::unique_ptr<COrvApplication> m_Application;
};

TEST_F(BatchEndToEndTest, ABatchWritesWhatTheCommandLineWrites)
{
    // The examples, with the items the e-card names beside it; two of them are chosen.
    QDir(m_Work.path()).mkpath(QStringLiteral("sources"));
    const QDir examples(Example(""));
    for (const QString& name : examples.entryList(QDir::Files))
        ASSERT_TRUE(QFile::copy(examples.filePath(name), Path(QStringLiteral("sources/")) + name));
    QDir(m_Work.path()).mkpath(QStringLiteral("batch"));
    QDir(m_Work.path()).mkpath(QStringLiteral("cli"));

    // iMelody's settings saved to a parameter file, as the media tab saves them.
    const int imyEntry = EntryIndex("IMY");
    const int emsEntry = EntryIndex("EMS_SMS");
    QStringList converters;
    m_Application->GetConverterNameList(converters);
    QStringList entire;
    m_Application->GetEntireNameList(entire);
    const int imyConverter = int(converters.indexOf(entire.at(imyEntry)));
    ASSERT_GE(imyConverter, 0);
    CParameters* parameters = nullptr;
    m_Application->GetConverterParameters(imyConverter, &parameters);
    ASSERT_NE(parameters, nullptr);
    const QString parameterFile = Path(QStringLiteral("imelody.xml"));
    m_Application->SaveParamsAsked(parameterFile, parameters);
    ASSERT_TRUE(QFile::exists(parameterFile));

    // The batch tab's two panels on the application.
    CBatchSelectorPanel sources(nullptr, QStringLiteral("CBatchSelectorPanel"), 1);
    QObject::connect(&sources, &CBatchSelectorPanel::GetEntireImportExtensionList, m_Application.get(),
                     &COrvApplication::GetEntireImportExtensionList);
    CParamsSelectorPanel rows(nullptr, QStringLiteral("CParamsSelectorPanel"), 1);
    QObject::connect(&rows, &CParamsSelectorPanel::GetEntireNameList, m_Application.get(),
                     &COrvApplication::GetEntireNameList);
    sources.SetCurrentFolder(Path(QStringLiteral("sources")));
    sources.show();
    rows.show();
    CFileSelectorControl* list = sources.GetFileList();
    for (int i = 0; i < list->topLevelItemCount(); ++i) {
        const QString name = list->topLevelItem(i)->text(0);
        list->topLevelItem(i)->setSelected(name == QLatin1String("morning.mid")
                                           || name == QLatin1String("greeting.ecd"));
    }
    ASSERT_EQ(rows.GetRows().size(), entire.size());
    rows.GetRows().at(imyEntry)->GetCheckBox()->setChecked(true);
    rows.GetRows().at(imyEntry)->SetFileName(parameterFile);
    rows.GetRows().at(emsEntry)->GetCheckBox()->setChecked(true);

    // The batch as the launch builds it: each checked row takes the chosen files it reads.
    QStringList files;
    sources.GetSourceFileNameList(files);
    ASSERT_EQ(files.size(), 2);
    QStringList parameterFiles;
    rows.GetParamsFileNameList(parameterFiles);
    CBatchInfoList batch;
    for (int row = 0; row < rows.GetRows().size(); ++row) {
        B32 checked = 0;
        rows.IsChecked(&checked, row);
        if (!checked)
            continue;
        QStringList extensions;
        m_Application->GetExtensionListForBatch(row, extensions);
        QStringList taken;
        for (const QString& file : files) {
            if (extensions.contains(QFileInfo(file).suffix(), Qt::CaseInsensitive))
                taken.append(file);
        }
        batch.append(new CBatchInfo(taken, row, parameterFiles.at(row), Path(QStringLiteral("batch"))));
    }
    ASSERT_EQ(batch.count(), 2);
    B32 result = 0;
    m_Application->LaunchAsked(&batch, 0, result);
    EXPECT_EQ(result, 1);

    const QString profile = QStringLiteral("/profile=") + PHONE;
    const QString destination = QStringLiteral("/destination=") + Path(QStringLiteral("cli"));
    EXPECT_EQ(CommandLine({profile, QStringLiteral("/converter=imy"), QStringLiteral("/parameter=") + parameterFile,
                           destination, Path(QStringLiteral("sources/morning.mid"))}),
              0);
    EXPECT_EQ(CommandLine({profile, QStringLiteral("/converter=EMS_SMS"), destination,
                           Path(QStringLiteral("sources/greeting.ecd"))}),
              0);
    const QStringList expected = Contents(Path(QStringLiteral("cli")));
    // The melody and one file per short message.
    ASSERT_GE(expected.size(), 2);
    EXPECT_TRUE(expected.first().startsWith(QStringLiteral("greeting")));
    EXPECT_TRUE(expected.last().startsWith(QStringLiteral("morning.IMY ")));
    EXPECT_EQ(Contents(Path(QStringLiteral("batch"))), expected);
    if (HasFailure())
        std::cerr << ReadAll(Path(QStringLiteral("run.log"))).constData()
                  << ReadAll(Path(QStringLiteral("cli.log"))).constData();
}

} // namespace
