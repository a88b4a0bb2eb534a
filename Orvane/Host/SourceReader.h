#pragma once
// Which plug-in reads a source for a converter, chosen in one place for every run that converts files: the media
// tab loads with it, the command line keeps the sources that have one, the batch run imports each with it, and the
// check of the run log asks it which files the source names.
#include <QString>
#include <QtGlobal>

class CPluginBase;
class CPluginManager;

struct CSourceReader
{
    // The converter itself for a translator (it imports its own input), else an importer; null when no plug-in
    // reads files of that name for the converter.
    CPluginBase* plugin = nullptr;
    // The most bytes of the source the run reads, the reader's own (CPluginBase::GetSourceByteLimit): every path
    // refuses a larger source from its size before it reads it.
    qint64 byteLimit = 0;
};

// A translator reads the sources whose extension (after the last ".") is one of its own import extensions, in any
// letter case; any other converter has them read by the first importer of a document type it takes that lists
// the extension.
CSourceReader ReaderFor(const CPluginManager& plugins, CPluginBase* converter, const QString& sourcePath);
