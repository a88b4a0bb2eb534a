// The parameter view's build time: the largest shipped parameter file, and a generated set of 100 inputs in
// four groups with a 16 x 16 table.
#include "Gui/Parameters/CParameterView.h"
#include "Parameters/CParameters.h"
#include "Text/CLanguageResources.h"
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <memory>

namespace {

struct QtFixture
{
    QtFixture()
    {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        application = std::make_unique<QApplication>(argc, argv);
        CLanguageResources::Load(QStringLiteral(ORV_SOURCE_DIR "/data/app/Languages/English.xml"));
    }
    int argc = 1;
    char name[20] = "ParameterViewBench";
    char* argv[2] = {name, nullptr};
    std::unique_ptr<QApplication> application;
};

QString LargestShippedFile()
{
    const QDir folder(QStringLiteral(ORV_SOURCE_DIR "/data/app/Plugins/Parameters"));
    const QFileInfoList files = folder.entryInfoList({QStringLiteral("*.xml")}, QDir::Files, QDir::Size);
    return files.isEmpty() ? QString() : files.first().filePath();
}

QByteArray GeneratedFile()
{
    QByteArray data;
    QByteArray interface;
    for (int group = 0; group < 4; ++group) {
        interface += "<GROUP CAPTION=\"Group " + QByteArray::number(group) + "\">";
        for (int i = 0; i < 25; ++i) {
            const QByteArray name = "P" + QByteArray::number(group * 25 + i);
            static const char* const kinds[] = {"TYPE=\"Integer\" VALUE=\"5\" MIN=\"0\" MAX=\"99\"",
                                                "TYPE=\"Float\" VALUE=\"0.5\" MIN=\"0\" MAX=\"1\"",
                                                "TYPE=\"Boolean\" VALUE=\"true\"", "TYPE=\"Colours\" VALUE=\"Red\""};
            static const char* const controls[] = {"EDITBOX", "EDITBOX", "CHECKBOX", "COMBOBOX"};
            data += "<DATA NAME=\"" + name + "\" " + kinds[i % 4] + "/>";
            interface += "<INPUT REF=\"" + name + "\" TYPE=\"" + controls[i % 4] + "\" CAPTION=\"" + name
                         + "\" SUFFIX=\"units\"/>";
        }
        interface += "</GROUP>";
    }
    interface += "<TABLE VERTICAL=\"yes\" WITHDEFBUTTON=\"yes\" ALLOWSORT=\"yes\"><CAPTIONS ROWSCAPTIONS=\"";
    QByteArray columns;
    for (int k = 0; k < 16; ++k) {
        interface += (k ? "_r" : "r") + QByteArray::number(k);
        columns += (k ? "_c" : "c") + QByteArray::number(k);
    }
    interface += "\" COLUMNSCAPTIONS=\"" + columns + "\"/>";
    for (int v = 0; v < 16; ++v) {
        data += "<VECTOR NAME=\"V" + QByteArray::number(v) + "\">";
        for (int p = 0; p < 16; ++p)
            data += "<DATA NAME=\"V" + QByteArray::number(v) + "_" + QByteArray::number(p)
                    + "\" TYPE=\"Integer\" VALUE=\"1\" MIN=\"0\" MAX=\"255\"/>";
        data += "</VECTOR>";
        interface += "<ROWORCOLUMN REF=\"V" + QByteArray::number(v) + "\"/>";
    }
    interface += "</TABLE>";
    return "<?xml version=\"1.0\"?><Generated><TSECTION><TYPE NAME=\"Boolean\"/><TYPE NAME=\"Integer\"/>"
           "<TYPE NAME=\"Float\"/><TYPE NAME=\"String\"/><ENUM NAME=\"Colours\" VALUES=\"Red Green Blue\"/>"
           "</TSECTION><PSECTION>"
           + data + "</PSECTION><ISECTION>" + interface + "</ISECTION></Generated>";
}

void Build(benchmark::State& state, const QString& path)
{
    CParameters parameters;
    if (!parameters.Load(path)) {
        state.SkipWithError("the parameter file does not load");
        return;
    }
    CParameterView view(nullptr);
    view.show();
    for (auto _ : state) {
        view.SetParameters(&parameters);
        benchmark::DoNotOptimize(view.GetElements().size());
    }
    view.SetParameters(nullptr);
}

void SetParametersOnTheLargestShippedFile(benchmark::State& state)
{
    QtFixture qt;
    Build(state, LargestShippedFile());
}
BENCHMARK(SetParametersOnTheLargestShippedFile)->Unit(benchmark::kMillisecond);

void SetParametersOn100InputsAndA16x16Table(benchmark::State& state)
{
    QtFixture qt;
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("Generated.xml"));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        state.SkipWithError("no scratch file");
        return;
    }
    file.write(GeneratedFile());
    file.close();
    Build(state, path);
}
BENCHMARK(SetParametersOn100InputsAndA16x16Table)->Unit(benchmark::kMillisecond);

} // namespace
