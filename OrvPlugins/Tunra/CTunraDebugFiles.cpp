// Debug files: the exact bytes of the last conversion, written to a "Debug"
// folder beside the source file when "GenerateDebugFiles" is set. They are a
// by-product: nothing here can fail a conversion.
#include "CTunra.h"

#include "Documents/CDocument.h"
#include "Parameters/CParameters.h"
#include "Util/CMemFile.h"

#include <QDebug>
#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {
// The only files this converter puts in the folder, and so the only ones it
// may remove from it: whatever else the user keeps there stays.
const char* const kDebugFileNames[] = {"outASCII.imy", "outGSM7.imy"};

bool IsRealFolder(const QFileInfo& info)
{
    return info.exists() && info.isDir() && !info.isSymLink();
}
} // namespace

QString CTunra::PrepareDebugFolder(CDocument* document)
{
    const CParameter* parameter =
        mpCurrentParameters ? mpCurrentParameters->GetParameter(QStringLiteral("GenerateDebugFiles")) : nullptr;
    m_bDebug = parameter && parameter->GetType() == CParameter::BOOL_TYPE &&
               static_cast<const CBoolParameter*>(parameter)->mValue;
    m_DebugFolder.clear();
    // Without a source name the folder would be the current directory's.
    if (!m_bDebug || !document || document->GetName().isEmpty())
        return m_DebugFolder;

    const QString folder = QFileInfo(document->GetName()).absolutePath() + QStringLiteral("/Debug");
    const QFileInfo info(folder);
    if (!info.exists() && !info.isSymLink())
    {
        if (!QDir().mkdir(folder))
        {
            qDebug() << "cannot create" << folder;
            return m_DebugFolder;
        }
    }
    else if (!IsRealFolder(info))
    {
        qDebug() << folder << "is not a folder of its own; no debug files";
        return m_DebugFolder;
    }
    else
    {
        for (const char* name : kDebugFileNames)
        {
            const QString path = folder + QLatin1Char('/') + QString::fromLatin1(name);
            const QFileInfo file(path);
            if (file.isFile() && !file.isSymLink())
            {
                qDebug() << "deleting " << name;
                QFile::remove(path);
            }
        }
    }
    m_DebugFolder = folder;
    return m_DebugFolder;
}

void CTunra::WriteDebugFile(const QString& name, const QByteArray& bytes) const
{
    if (m_DebugFolder.isEmpty())
        return;
    const QString path = m_DebugFolder + QLatin1Char('/') + name;
    // Writing through a link (or over a folder) would reach outside the
    // debug folder: only a fresh or regular file is written.
    const QFileInfo info(path);
    if (info.isSymLink() || (info.exists() && !info.isFile()))
    {
        qDebug() << "not writing" << path;
        return;
    }
    CMemFile file;
    if (!bytes.isEmpty())
        file.SetData(reinterpret_cast<const uchar*>(bytes.constData()), static_cast<uint>(bytes.size()));
    if (!file.WriteFile(QFile::encodeName(path).constData(), CMemFile::ModeBinary))
        qDebug() << "cannot write" << path;
}
