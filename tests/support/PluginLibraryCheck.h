#pragma once
// Loads a built import plug-in as the host does (dlopen by absolute path, the five
// exports by name, converters through virtual calls only) and checks its answers.
#include "ImportTestSupport.h"

#include "Documents/CDocument.h"
#include "Plugin/PluginExports.h"

#include "LoadedPluginModule.h"
#include <gtest/gtest.h>

#include <vector>

struct ImporterClassExpectation
{
    const char* className;
    int documentType;
    int previewType;
    const char* extension;
    QByteArray accepted; // bytes the class turns into a document
    QByteArray refused;  // bytes it refuses
};

inline void CheckImportPlugin(const char* path, const char* name, int version,
                              const std::vector<ImporterClassExpectation>& classes)
{
    LoadedPluginModule module(path);
    ASSERT_NO_FATAL_FAILURE(ExpectModuleIdentity(module, name, version, int(classes.size())));
    ASSERT_EQ(module.classCount(), int(classes.size()));
    const auto classInfo = module.classInfo;
    if (classes.size() == 1) {
        EXPECT_EQ(classInfo(7), classInfo(0));
    } else {
        EXPECT_EQ(classInfo(int(classes.size())), nullptr);
        EXPECT_EQ(classInfo(-1), nullptr);
    }

    ScopedAppFolder appFolder(QByteArray(ORV_APP_DIR));
    CQuietMessages quiet;
    for (size_t index = 0; index < classes.size(); ++index) {
        const ImporterClassExpectation& expected = classes[index];
        SCOPED_TRACE(expected.className);
        CPluginClassInfo* info = classInfo(int(index));
        ASSERT_NE(info, nullptr);
        CPluginBase* importer = info->CreateInstance();
        ASSERT_NE(importer, nullptr);
        EXPECT_EQ(importer->LoadResources(), 1);
        EXPECT_EQ(importer->GetConverterType(), 1);
        EXPECT_EQ(importer->GetDocumentType(), expected.documentType);
        EXPECT_EQ(importer->GetPreviewDocumentType(), expected.previewType);
        EXPECT_EQ(importer->GetImportExtensionCount(), 1);
        EXPECT_EQ(importer->GetImportExtension(3).toStdString(), expected.extension);
        EXPECT_TRUE(importer->GetExportExtension().isEmpty());
        EXPECT_TRUE(importer->GetDescription().isEmpty());
        EXPECT_TRUE(importer->GetParametersFileName().isEmpty());

        CDocument* document = importer->Import(expected.accepted);
        ASSERT_NE(document, nullptr);
        EXPECT_EQ(document->GetDocType(), expected.documentType);
        EXPECT_FALSE(importer->Convert(document));
        EXPECT_TRUE(importer->GetRawDataList().isEmpty());
        delete document;

        EXPECT_EQ(importer->Import(expected.refused), nullptr);
        const QString summary = importer->GetConversionLog()->GetSummaryText();
        EXPECT_TRUE(summary.endsWith(QLatin1Char('\n')));
        EXPECT_GT(summary.trimmed().size(), 0) << "the plug-in found its messages";
        EXPECT_EQ(importer->UnloadResources(), 1);
        delete importer;
    }
    EXPECT_EQ(module.Unload(), 0);
}
