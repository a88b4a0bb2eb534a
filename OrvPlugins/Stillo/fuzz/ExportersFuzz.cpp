// libFuzzer target of the picture, animation and melody exporters. The first
// byte picks the exporter, the second shapes the phone profile and the
// parameters, the rest is a source file that goes through the importers as
// the host would hand it over. Every output must be of its format's size.
#include "CChimo.h"
#include "CFlickra.h"
#include "CLumraAnimated.h"
#include "CNivra.h"
#include "CRinglet.h"
#include "CScorin.h"
#include "CSendra.h"
#include "CStillo.h"

#include "Documents/CDocumentAnimation.h"
#include "Documents/CDocumentPicture.h"
#include "Parameters/CParameters.h"
#include "Parameters/CProfile.h"
#include "Picture/PictureBody.h"

#include <QByteArray>
#include <QtGlobal>
#include <cstdlib>
#include <memory>

namespace {
void Discard(QtMsgType, const QMessageLogContext&, const QString&) {}

QString Data(const char* relative)
{
    return QStringLiteral(ORV_SOURCE_DIR "/data/app/") + QString::fromLatin1(relative);
}

struct Setup
{
    CProfile profile;
    CParameters pictures, animations, melodies, ems;
    Setup()
    {
        qInstallMessageHandler(Discard);
        if (!profile.Load(Data("Profiles/Model_B.xml")) || !pictures.Load(Data("Plugins/Parameters/PicParameters.xml"))
            || !animations.Load(Data("Plugins/Parameters/AniParameters.xml"))
            || !melodies.Load(Data("Plugins/Parameters/QBRParameters.xml"))
            || !ems.Load(Data("Plugins/Parameters/EmaParameters.xml")))
            std::abort();
    }
};

void Require(bool condition)
{
    if (!condition)
        __builtin_trap();
}

// The profile and the parameters the shape byte asks for.
void Shape(Setup& setup, uint8_t shape)
{
    CProfile& profile = setup.profile;
    profile.GetIntParameter(QStringLiteral("MaxPictWidth"))->mValue = (shape & 1) ? 255 : 64;
    profile.GetIntParameter(QStringLiteral("MaxPictHeight"))->mValue = (shape & 2) ? 255 : 48;
    profile.GetIntParameter(QStringLiteral("NbMaxPictAnim"))->mValue = (shape & 4) ? 40 : 4;
    profile.GetEnumParameter(QStringLiteral("DisplayType"))
        ->SetValue((shape & 8) ? QStringLiteral("Grayscale") : QStringLiteral("Monochrom"));
    profile.GetIntParameter(QStringLiteral("BuzzerBandWidthLowNote"))->mValue = (shape & 16) ? 48 : 60;
    for (CParameters* set : {&setup.pictures, &setup.animations}) {
        set->GetEnumParameter(QStringLiteral("PictureHasMask"))
            ->SetValue((shape & 32) ? QStringLiteral("On") : QStringLiteral("Off"));
        set->GetEnumParameter(QStringLiteral("EmsCompatible"))
            ->SetValue((shape & 64) ? QStringLiteral("On") : QStringLiteral("Off"));
    }
    setup.melodies.GetBoolParameter(QStringLiteral("SMSPaquet"))->mValue = (shape & 128) != 0;
}

int BodySize(const QByteArray& bytes, int at)
{
    if (at + 4 > bytes.size())
        return -1;
    const uchar* b = reinterpret_cast<const uchar*>(bytes.constData()) + at;
    if (b[0] != 0)
        return PictureBody::Size(PictureBody::Monochrome, false, b[0], b[1]);
    return PictureBody::Size(PictureBody::Grey, b[1] == 0, b[2], b[3]);
}

void CheckAni(const QByteArray& ani)
{
    Require(ani.size() >= 2);
    const int words = quint8(ani.at(0)) | quint8(ani.at(1)) << 8;
    int end = 2 + 2 * words;
    for (int i = 0; i < words; ++i) {
        const int word = quint8(ani.at(2 + 2 * i)) | quint8(ani.at(3 + 2 * i)) << 8;
        if (word >= 0xF000)
            continue;
        Require(word == end);
        const int size = BodySize(ani, word);
        Require(size > 0);
        end += size;
    }
    Require(end == ani.size());
}

CDocumentAnimation* AnimationOf(const QByteArray& bytes, uint8_t shape)
{
    std::unique_ptr<CDocument> document(CLumraAnimated().Import(bytes));
    if (document && document->GetDocType() == CDocument::ANIMATION)
        return static_cast<CDocumentAnimation*>(document.release());
    std::unique_ptr<CDocument> picture(CNivra().Import(bytes));
    if (!picture || picture->GetDocType() != CDocument::PICTURE)
        return nullptr;
    auto* animation = new CDocumentAnimation;
    for (int i = 0; i <= (shape & 3) + 2; ++i)
        animation->AppendFrame(static_cast<CDocumentPicture*>(picture.get())->GetImage(), 100 * i);
    return animation;
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static Setup setup;
    if (size < 2)
        return 0;
    const uint8_t shape = data[1];
    Shape(setup, shape);
    const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char*>(data + 2), qsizetype(size - 2));

    switch (data[0] % 4) {
    case 0: {
        std::unique_ptr<CDocument> picture(CNivra().Import(bytes));
        if (!picture)
            return 0;
        CStillo stillo;
        stillo.SetParameters(&setup.pictures);
        stillo.SetProfile(&setup.profile);
        if (stillo.Convert(picture.get())) {
            Require(stillo.GetRawDataList().size() == 1);
            Require(BodySize(stillo.GetRawDataList().first(), 0) == stillo.GetRawDataList().first().size());
        } else
            Require(stillo.GetRawDataList().isEmpty());
        break;
    }
    case 1:
    case 2: {
        std::unique_ptr<CDocumentAnimation> animation(AnimationOf(bytes, shape));
        if (!animation)
            return 0;
        if (data[0] % 4 == 1) {
            CFlickra flickra;
            flickra.SetParameters(&setup.animations);
            flickra.SetProfile(&setup.profile);
            if (flickra.Convert(animation.get()))
                CheckAni(flickra.GetRawDataList().first());
            else
                Require(flickra.GetRawDataList().isEmpty());
        } else {
            CSendra sendra;
            sendra.SetParameters(&setup.ems);
            sendra.SetProfile(&setup.profile);
            if (sendra.Convert(animation.get())) {
                const int side = animation->GetFrame(0)->GetImage().width();
                Require(sendra.GetRawDataList().first().size() == 4 * side * ((side + 7) / 8));
            } else
                Require(sendra.GetRawDataList().isEmpty());
        }
        break;
    }
    default: {
        std::unique_ptr<CDocument> melody(shape & 1 ? CRinglet().Import(bytes) : CScorin().Import(bytes));
        if (!melody)
            return 0;
        CChimo chimo;
        chimo.SetParameters(&setup.melodies);
        chimo.SetProfile(&setup.profile);
        if (chimo.Convert(melody.get())) {
            const QByteArray& qbr = chimo.GetRawDataList().first();
            Require(qbr.size() >= 11 && qbr.startsWith(".QBR"));
            Require((quint8(qbr.at(4)) | quint8(qbr.at(5)) << 8) == qbr.size() - 10);
        } else
            Require(chimo.GetRawDataList().isEmpty());
        break;
    }
    }
    return 0;
}
