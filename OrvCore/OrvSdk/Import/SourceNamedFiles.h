#pragma once
// Where the files a source names are read from. A run makes the source's folder the current folder before it
// reads the source, so a relative name in it (a frame's picture, an e-card entry's media file, a file a converter
// reads beside the source) is a file of that folder. The plug-ins that read such files, and their lists of them
// (CPluginBase::GetNamedFiles) that the host checks against its run log, resolve names here alike.
#include <QByteArray>
#include <QString>

namespace SourceNamedFiles {
// The source's bytes as the run reads them, at most byteLimit; empty when the run could not read it (a source
// it cannot read names nothing: the run reads nothing it names).
QByteArray ReadSource(const QString& sourcePath, qint64 byteLimit);
// The absolute folder of the source at sourcePath.
QString FolderOf(const QString& sourcePath);
// The path a name in a source means: a relative name from folder, an absolute one as it stands.
QString PathIn(const QString& folder, const QString& name);
} // namespace SourceNamedFiles
