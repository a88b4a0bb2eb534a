#pragma once
// Shared by the tests of the import frame and of the import plug-ins.
#include "Documents/CDocument.h"
#include "Plugin/CPluginBase.h"
#include "Text/CLanguageResources.h"

#include "FuzzSeed.h"
#include "MessageCapture.h"
#include "ScopedAppFolder.h"
#include "TestBytes.h"

#include <QBuffer>
#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QString>
#include <QStringList>
#include <QtGlobal>

#include <gtest/gtest.h>

#include <initializer_list>
#include <memory>
#include <string>

// Loads the source tree's language file, so that logged texts can be compared.
inline bool LoadSourceLanguageFile()
{
    return CLanguageResources::Load(QStringLiteral(ORV_SOURCE_DIR "/data/app/Languages/English.xml"));
}

// What a summary text holds after the given messages were logged with a line break each.
inline std::string LoggedLines(const char* className, std::initializer_list<const char*> ids)
{
    QString text;
    for (const char* id : ids)
        text +=
            CLanguageResources::GetMessage(QString::fromLatin1(className), QString::fromLatin1(id)) + QLatin1Char('\n');
    return text.toStdString();
}

inline std::string Summary(CPluginBase& importer)
{
    return importer.GetConversionLog()->GetSummaryText().toStdString();
}

inline std::string Detailed(CPluginBase& importer)
{
    return importer.GetConversionLog()->GetDetailedText().toStdString();
}

// Runs one import with a fresh importer, keeps its logs and checks the kind of document it gave.
template <class TDocument, class TImporter>
std::unique_ptr<TDocument> ImportAs(const QByteArray& bytes, CDocument::DOCTYPE type, std::string& summary,
                                    std::string* detailed = nullptr)
{
    TImporter importer;
    CDocument* document = importer.Import(bytes);
    summary = Summary(importer);
    if (detailed)
        *detailed = Detailed(importer);
    if (document) {
        EXPECT_EQ(document->GetDocType(), type);
    }
    return std::unique_ptr<TDocument>(static_cast<TDocument*>(document));
}

// A picture's file bytes in the given format, encoded by the toolkit.
inline QByteArray EncodePicture(const QImage& image, const char* format)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format);
    return bytes;
}

// The base of an importer's tests: logged texts readable, the toolkit's output caught.
class ImporterTest : public testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(LoadSourceLanguageFile()); }
    CQuietMessages m_Quiet;
};
