#include "MessraFuzzInput.h"
#include "CMessra.h"
#include "CTranslatorTDD.h"
#include "Documents/CDocument.h"
#include "Parameters/CProfile.h"
#include "ProfileXml.h"
#include "SmsMediaChecks.h"
#include <QFile>
#include <memory>

namespace {
// A phone that takes both kinds of message, with the ODI copyright and a media size limit that small files
// reach.
QByteArray FuzzProfile()
{
    ProfileValues values;
    values.maxMediaSize = 1024;
    values.lowNote = 0;
    values.highNote = 127;
    values.extra = ProfileData("EMS4Compatible", "Boolean", "true") + ProfileData("TDDCompatible", "Boolean", "true")
                   + ProfileData("ODICopyrightCompatible", "Boolean", "true");
    return ProfileXml(values);
}

bool WriteFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size();
}

bool Takes(CPluginBase& translator, const QString& extension)
{
    for (int i = 0; i < translator.GetImportExtensionCount(); ++i)
        if (translator.GetImportExtension(i) == extension)
            return true;
    return false;
}

// The host's steps: import the bytes, name the document after its file, convert, drop the output.
void Translate(CPluginBase& translator, const QByteArray& bytes, const QString& path, CProfile* profile)
{
    std::unique_ptr<CDocument> document(translator.Import(bytes));
    if (!document)
        return;
    document->SetName(path);
    translator.SetProfile(profile);
    translator.SetParameters(nullptr);
    translator.Convert(document.get());
    translator.ClearRawData();
}

void CheckMedia(const QByteArray& file)
{
    QByteArray content;
    SmsMediaChecks::SplitPictureFile(file, content);
    SmsMediaChecks::CheckVariablePicture(content);
    SmsMediaChecks::CheckPicture(file);
    SmsMediaChecks::CheckFrameTable(file);
}
} // namespace

namespace MessraFuzzInput {
QStringList Extensions()
{
    return {QStringLiteral("ecd"), QStringLiteral("emp"), QStringLiteral("ema"),
            QStringLiteral("imy"), QStringLiteral("qbr"), QStringLiteral("pic"),
            QStringLiteral("ani"), QStringLiteral("seq"), QStringLiteral("vox")};
}

char KindOctet(const QString& extension)
{
    const int index = int(Extensions().indexOf(extension));
    return char(index < 0 ? Extensions().size() : index);
}

bool Run(const QByteArray& input, const QString& folder)
{
    if (input.isEmpty())
        return true;
    const QStringList extensions = Extensions();
    const int kind = int(uchar(input.at(0))) % int(extensions.size() + 1);
    const QByteArray bytes = input.mid(1);
    if (kind == extensions.size()) {
        CheckMedia(bytes);
        return true;
    }

    // Loaded once: the profile is the same for every input.
    static CProfile profile;
    if (profile.IsEmpty()) {
        const QString profilePath = folder + QStringLiteral("/profile.xml");
        if (!WriteFile(profilePath, FuzzProfile()) || !profile.Load(profilePath))
            return false;
    }
    const QString extension = extensions.at(kind);
    const QString path = folder + QStringLiteral("/source.") + extension;
    if (!WriteFile(path, bytes))
        return false;
    CMessra ems;
    if (Takes(ems, extension))
        Translate(ems, bytes, path, &profile);
    CTranslatorTDD tdd;
    if (Takes(tdd, extension))
        Translate(tdd, bytes, path, &profile);
    return true;
}
} // namespace MessraFuzzInput
