#pragma once
// Small steps that the conversion, translation, batch and loading paths share.
#include "Text/FailureReason.h"
#include "Text/ShownName.h"
#include "Util/BoundedFileRead.h"
#include <QByteArray>
#include <QString>
#include <functional>

class CEngineHost;
class CPluginBase;
class CXmlFile;

// A message of the application object's class in the language file.
QString Message(const char* id);
QString Message(const QString& id);
// The same with its %1, %2... filled in by texts from outside (names of files, values of options), each shown with
// ShowName: a name never ends a line of the run log, nor forges one.
template <class... Texts>
QString Message(const char* id, const Texts&... texts)
{
    return Message(id).arg(ShowName(texts)...);
}

// The whole file; empty when it cannot be read, is empty, is no regular file or is larger than cap, and then
// reason (when given) says why. The bytes are the array's own, so an importer may keep a copy of the array.
QByteArray ReadSourceFile(const QString& path, qint64 cap, QString* reason = nullptr);

// Empties the converter's output chunks and deletes a preview document it still holds, so that nothing of an
// earlier run (a failed one included) reaches the next.
void DiscardConverterOutput(CPluginBase* converter);

// Empties both texts of the converter's conversion log.
void ClearConversionLog(CPluginBase* converter);

// Why a parameter file was refused, as its reader said.
QString ParameterFileRefusal(const CXmlFile& file);

// A log text as a message box shows it: less one final line feed.
QString WithoutFinalLineFeed(const QString& text);

// Names of the files of one result: folder + "/" + base name + suffix + "." + extension, where the suffix is
// empty for a single chunk and "_<index>" otherwise.
QString MakeChunkFileName(const QString& folder, const QString& baseName, int index, int count,
                          const QString& extension);

// The file name up to its first ".", without folder.
QString ShortBaseName(const QString& path);
