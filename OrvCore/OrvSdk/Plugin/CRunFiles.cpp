#include "Plugin/CRunFiles.h"
#include "Text/CLanguageResources.h"
#include "Text/ShownName.h"

void CRunFiles::Add(Role role, const QString& path)
{
    const std::optional<FileIdentity> identity = FileIdentity::Of(path);
    if (identity)
        m_Files.append(CFile{*identity, role, path});
}

const CRunFiles::CFile* CRunFiles::Find(const QString& path) const
{
    const std::optional<FileIdentity> identity = FileIdentity::Of(path);
    if (!identity)
        return nullptr;
    for (const CFile& file : m_Files) {
        if (file.identity == *identity)
            return &file;
    }
    return nullptr;
}

QString CRunFiles::NamedFileRefusal(const CRunFiles* files, const QString& path)
{
    const CFile* file = files ? files->Find(path) : nullptr;
    if (!file || file->role != RUN_LOG)
        return QString();
    return CLanguageResources::GetMessage(QStringLiteral("CRunFiles"), QStringLiteral("id_named_file_is_run_log"))
        .arg(ShowName(files->m_CurrentSource));
}
