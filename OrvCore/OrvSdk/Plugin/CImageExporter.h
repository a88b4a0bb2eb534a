#pragma once
#include <QList>
#include <QSize>

class CProfile;

// The extra operations of the picture and animation exporters. Such an
// exporter derives from CPluginBase and from this class and returns itself
// from CPluginBase::GetImageExporter: the host reaches these operations by
// that virtual call, since every module has its own type information and a
// cast across the plug-in boundary would fail.
class CImageExporter
{
public:
    // The largest picture the exporter writes.
    virtual QSize GetMaxFrameSize() = 0;
    // Non-zero when the exporter can write a picture of that size.
    virtual int IsPictureSizeSupported(const QSize& size) = 0;
    // How many frames the exporter writes for that profile; a picture
    // exporter writes one.
    virtual int GetMaxFrameCount(CProfile* profile)
    {
        (void)profile;
        return 1;
    }
    // The sizes the exporter writes, largest first, when it writes only a
    // few; empty when it writes any size its size test passes. The resize
    // dialogs offer them where the phone proposes none of them.
    virtual QList<QSize> GetFixedSizes() { return {}; }

protected:
    CImageExporter() = default;
    // The converter object owns the interface; nobody deletes through it.
    ~CImageExporter() = default;
};
