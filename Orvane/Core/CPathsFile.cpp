#include "CPathsFile.h"
#include "Xml/CXmlFile.h"

namespace {

// Each element is looked up from the root on its own, so a missing one cannot pick up its neighbour's name.
QString ReadName(CXmlFile& file, const QString& tag, const QString& fallback)
{
    QString name;
    if (file.GoToElement(tag, true, 0))
        file.GetStringAttribute(QStringLiteral("name"), name);
    return name.isEmpty() ? fallback : name;
}

QString DefaultResourceFolder()
{
    return QStringLiteral("resources");
}

QString DefaultParameterFolder()
{
    return QStringLiteral("Parameters");
}

QString DefaultProfileFolder()
{
    return QStringLiteral("Profiles");
}

} // namespace

CPathsFile::CPathsFile()
    : mResourceFolder(DefaultResourceFolder()), mParameterFolder(DefaultParameterFolder()),
      mProfileFolder(DefaultProfileFolder())
{}

void CPathsFile::Read(const QString& path)
{
    *this = CPathsFile();
    CXmlFile file;
    if (!file.Load(path))
        return;
    mResourceFolder = ReadName(file, QStringLiteral("resource"), DefaultResourceFolder());
    mParameterFolder = ReadName(file, QStringLiteral("parameter"), DefaultParameterFolder());
    mProfileFolder = ReadName(file, QStringLiteral("profile"), DefaultProfileFolder());
}
