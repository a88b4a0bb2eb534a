#pragma once
#include "Util/Types.h"
#include <QString>
#include <QStringList>

class CEngineHost;
class CEngineState;

// The media tab's documents: imports a source file as the loaded document, lists the preview files that exist
// for a destination, and loads such files back as the preview document.
class CMediaLoader
{
public:
    CMediaLoader(CEngineHost& host, CEngineState& state);

    // Replaces the loaded document by an import of the file, with the first importer whose document the
    // converter accepts and whose extensions hold the file's. 1 when a document was made.
    B32 LoadMedia(const QString& path, int converterIndex);
    // The preview files of that converter that exist for base; type receives its preview document type.
    QStringList GetPreviewFileList(int& type, const QString& base, int converterIndex);
    // Drops every document and result and builds the preview document from the files. 1 when one was made.
    B32 LoadPreview(const QStringList& names, int type);

private:
    CEngineHost& m_Host;
    CEngineState& m_State;
};
