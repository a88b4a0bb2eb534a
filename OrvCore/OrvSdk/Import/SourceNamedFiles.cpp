#include "Import/SourceNamedFiles.h"
#include "Import/DescriptionFrames.h"
#include "Import/EcardEntries.h"
#include "Import/MediaScript.h"
#include "Util/BoundedFileRead.h"
#include <QDir>
#include <QFileInfo>

namespace SourceNamedFiles {

bool Visit(const QString& sourcePath, const QString& converterExtension,
           const std::function<bool(const QString& path)>& visit)
{
    const QFileInfo source(sourcePath);
    const QString folder = source.absolutePath();
    if (converterExtension.compare(QLatin1String("SEQ"), Qt::CaseInsensitive) == 0
        && visit(MediaScript::PathIn(folder)))
        return true;

    const QString extension = source.suffix();
    const bool description = extension.compare(QLatin1String("anim"), Qt::CaseInsensitive) == 0;
    const bool ecard = EcardEntries::IsEcardSource(sourcePath);
    if (!description && !ecard)
        return false;
    QByteArray bytes;
    QString reason;
    if (!BoundedFileRead::Read(sourcePath,
                               description ? FileLimits::MaxMediaSourceBytes : FileLimits::MaxMessageSourceBytes, bytes,
                               reason))
        return false;
    if (ecard)
        return EcardEntries::VisitFiles(bytes, EcardEntries::RootTagFor(converterExtension), folder, visit);
    // The importer reads a frame's name from the current folder, which is the source's while it runs.
    QList<DescriptionFrames::CFrame> frames;
    DescriptionFrames::List(bytes, frames);
    const QDir from(folder);
    for (const DescriptionFrames::CFrame& frame : frames) {
        if (visit(from.filePath(frame.path)))
            return true;
    }
    return false;
}

} // namespace SourceNamedFiles
