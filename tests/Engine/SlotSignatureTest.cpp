// The main window connects its signals to the engine's slots by their signatures as written in its
// connection table; each must name a slot of the application object.
#include "Core/COrvApplication.h"
#include <QMetaObject>
#include <gtest/gtest.h>

namespace {

TEST(EngineSlots, AnswerTheMainWindowsSignatures)
{
    for (const char* signature : {"ConvertionAsked(B32, CGenerationInfo *)",
                                  "TranslationAsked(CGenerationInfo *, QString)",
                                  "LaunchAsked(CBatchInfoList *, B32,B32 &)",
                                  "GetExportExtension( QString & )",
                                  "GetExportExtensionForConverter(QString &,int)",
                                  "GetPreviewFileList(CDocument::DOCTYPE &,QStringList &, const QString &,int)",
                                  "SaveAsked(B32, QString, QString, B32 &)",
                                  "GetPreviewDocument(CDocument **)",
                                  "GetPreviewRawData(CDocument **)",
                                  "GetConverterParameters(int, CParameters **)",
                                  "GetTraductorParameters(int, CParameters **, QString&)",
                                  "GetResultFileName(QString &)",
                                  "LoadPreviewAsked(const QStringList &,CDocument::DOCTYPE,B32 &)",
                                  "LoadMediaAsked(QString &, int,B32 &)",
                                  "ClearMediaAsked()",
                                  "GetLoadedDocument(CDocument **)",
                                  "GetExportExtensionForTranslator(QString &,int)",
                                  "LoadParamsAsked(int, QString)",
                                  "SaveParamsAsked(QString, CParameters *)",
                                  "LoadDefaultParamsAsked(int)",
                                  "LoadTraductorParamsAsked(int, QString)",
                                  "LoadDefaultTraductorParamsAsked(int)",
                                  "SetResizeOption( B32 )",
                                  "ProgressForConvertion(const QString,int)",
                                  "ProgressForTranslation(const QString,int)",
                                  "ProgressForBatch(const QString,int)",
                                  "CancelConvertion()",
                                  "CancelBatch()"})
        EXPECT_GE(COrvApplication::staticMetaObject.indexOfSlot(QMetaObject::normalizedSignature(signature)), 0)
            << signature;
}

} // namespace
