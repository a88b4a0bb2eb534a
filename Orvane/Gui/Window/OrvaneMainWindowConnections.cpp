// The window's connection table: panels' requests relayed to the window's own signals (which the application
// serves), the window's broadcasts to the panels, and the lines between panels of one tab.
#include "Core/CBatchInfo.h"
#include "Core/CGenerationInfo.h"
#include "Gui/Panels/CBatchSelectorPanel.h"
#include "Gui/Panels/CConverterPanel.h"
#include "Gui/Panels/CDestinationSelectorPanel.h"
#include "Gui/Panels/CMediaSelectorPanel.h"
#include "Gui/Panels/CParamsSelectorPanel.h"
#include "Gui/Panels/CSmsBuilderPanel.h"
#include "Gui/Panels/CSmsSelectorPanel.h"
#include "Gui/Widgets/GuiResources.h"
#include "Gui/Window/COrvTabview.h"
#include "Gui/Window/OrvaneMainWindow.h"
#include "Parameters/CParameters.h"
#include <QProgressBar>

using W = OrvaneMainWindow;
using Media = CMediaSelectorPanel;
using Converter = CConverterPanel;
using Destination = CDestinationSelectorPanel;
using Sms = CSmsSelectorPanel;
using Builder = CSmsBuilderPanel;
using Batch = CBatchSelectorPanel;
using Params = CParamsSelectorPanel;

void OrvaneMainWindow::ConnectPanels()
{
    COrvTabview* tabs = mpTabview;
    Media* media = tabs->mpMediaSelectorPanel;
    Converter* converter = tabs->mpConverterPanel;
    Destination* mediaOut = tabs->mpMediaDestinationPanel;
    Sms* sms = tabs->mpSmsSelectorPanel;
    Builder* builder = tabs->mpSmsBuilderPanel;
    Destination* smsOut = tabs->mpSmsDestinationPanel;
    Batch* batch = tabs->mpBatchSelectorPanel;
    Params* params = tabs->mpParamsSelectorPanel;
    Destination* batchOut = tabs->mpBatchDestinationPanel;
    auto link = [](const QMetaObject::Connection& connection) { CheckConnection(bool(connection)); };

    link(connect(mediaOut, &Destination::GetPreviewDocument, this, &W::GetPreviewDocument));
    link(connect(mediaOut, &Destination::GetPreviewRawData, this, &W::GetPreviewRawData));
    link(connect(this, &W::Warnings, sms, &Sms::SetWarnings));
    link(connect(this, &W::Warnings, media, &Media::SetWarnings));
    link(connect(this, &W::Warnings, tabs, &COrvTabview::SetWarnings));
    link(connect(this, &W::Warnings, mediaOut, &Destination::SetWarnings));
    link(connect(this, &W::UpdateConverterList, media, &Media::UpdateConverterList));
    link(connect(this, &W::UpdateConverterList, mediaOut, &Destination::NewProfileSelected));
    link(connect(this, &W::UpdateConverterList, sms, &Sms::UpdateConverterList));
    link(connect(this, &W::UpdateConverterList, params, &Params::UpdateConverterList));

    link(connect(media, &Media::GetConverterNameList, this, &W::GetConverterNameList));
    link(connect(media, &Media::GetCurrentPath, this, &W::GetCurrentPath));
    link(connect(media, &Media::GetConverterImportExtensionList, this, &W::GetConverterImportExtensionList));
    link(connect(media, &Media::LoadMediaAsked, this, &W::LoadMediaAsked));
    link(connect(media, &Media::ClearMediaAsked, this, &W::ClearMediaAsked));
    link(connect(media, &Media::GetLoadedDocument, this, &W::GetLoadedDocument));
    link(connect(media, &Media::CurrentFileTypeChanged, converter, &Converter::UpdatePanel));
    link(connect(media, &Media::CurrentFileTypeChanged, mediaOut, &Destination::OnConverterControlChanged));
    link(connect(media, &Media::CurrentFileChanged, mediaOut, &Destination::SetCurrentFile));
    link(connect(media, &Media::IndicateDestFile, mediaOut, &Destination::IndicateDestFile));
    link(connect(media, &Media::SetNotConverted, mediaOut, &Destination::SetNotConverted));
    link(connect(media, &Media::SetNotSaved, mediaOut, &Destination::SetNotSaved));
    link(connect(media, &Media::IsConverted, mediaOut, &Destination::IsConverted));
    link(connect(media, &Media::IsSaved, mediaOut, &Destination::IsSaved));

    link(connect(converter, &Converter::GetConverterNameList, this, &W::GetConverterNameList));
    link(connect(converter, &Converter::GetConverterParameters, this, &W::GetConverterParameters));
    link(connect(converter, &Converter::SaveParamsAsked, this, &W::SaveParamsAsked));
    link(connect(converter, &Converter::LoadParamsAsked, this, &W::LoadParamsAsked));
    link(connect(converter, &Converter::LoadDefaultParamsAsked, this, &W::LoadDefaultParamsAsked));
    link(connect(converter, &Converter::ParameterFileTypeChanged, media, &Media::OnConverterControlChanged));
    link(connect(converter, &Converter::GetExportExtensionForConverter, this, &W::GetExportExtensionForConverter));

    link(connect(mediaOut, &Destination::GetCurrentPath, this, &W::GetCurrentPath));
    link(connect(mediaOut, &Destination::SaveAsked, this, &W::SaveAsked));
    link(connect(mediaOut, &Destination::ConvertionAsked, this, &W::ConvertionAsked));
    link(connect(mediaOut, &Destination::ConvertionAsked, mpProgressBar, &QProgressBar::reset));
    link(connect(mediaOut, &Destination::GetConverterIndex, media, &Media::SetConverterIndex));
    link(connect(mediaOut, &Destination::GetOriginalPath, media, &Media::SetOriginalPath));
    link(connect(mediaOut, &Destination::GetConverterParameters, converter, &Converter::SetConverterParameters));
    link(connect(mediaOut, &Destination::GetResultFileName, this, &W::GetResultFileName));
    link(connect(mediaOut, &Destination::ResultFileSaved, sms, &Sms::MediaConversionSaved));
    link(connect(mediaOut, &Destination::GetExportExtensionForConverter, this, &W::GetExportExtensionForConverter));
    link(connect(mediaOut, &Destination::PreviewFileSelected, media, &Media::CloseMediaDialog));
    link(connect(mediaOut, &Destination::GetNbOfConverters, media, &Media::SetNbOfConverters));
    link(connect(mediaOut, &Destination::GetPreviewFileList, this, &W::GetPreviewFileList));
    link(connect(mediaOut, &Destination::LoadPreviewAsked, this, &W::LoadPreviewAsked));

    link(connect(sms, &Sms::GetCurrentPath, this, &W::GetCurrentPath));
    link(connect(sms, &Sms::GetTraductorNameList, this, &W::GetTraductorNameList));
    link(connect(sms, &Sms::GetTraductorImportExtensionList, this, &W::GetTraductorImportExtensionList));
    link(connect(sms, &Sms::CurrentFileTypeChanged, builder, &Builder::UpdatePanel));
    link(connect(sms, &Sms::CurrentFileChanged, smsOut, &Destination::SetCurrentFile));
    link(connect(sms, &Sms::IndicateDestFile, smsOut, &Destination::IndicateDestFile));

    link(connect(builder, &Builder::GetTraductorNameList, this, &W::GetTraductorNameList));
    link(connect(builder, &Builder::GetTraductorParameters, this, &W::GetTraductorParameters));
    link(connect(builder, &Builder::LoadTraductorParamsAsked, this, &W::LoadTraductorParamsAsked));
    link(connect(builder, &Builder::SaveParamsAsked, this, &W::SaveParamsAsked));
    link(connect(builder, &Builder::LoadDefaultTraductorParamsAsked, this, &W::LoadDefaultTraductorParamsAsked));
    link(connect(builder, &Builder::GetExportExtensionForTranslator, this, &W::GetExportExtensionForTranslator));

    link(connect(smsOut, &Destination::GetExportExtension, this, &W::GetExportExtension));
    link(connect(smsOut, &Destination::GetCurrentPath, this, &W::GetCurrentPath));
    link(connect(smsOut, &Destination::TranslationAsked, this, &W::TranslationAsked));
    link(connect(smsOut, &Destination::SaveAsked, this, &W::SaveAsked));
    link(connect(smsOut, &Destination::GetOriginalPath, sms, &Sms::SetOriginalPath));
    link(connect(smsOut, &Destination::GetTranslatorParameters, builder, &Builder::SetTranslatorParameters));
    link(connect(smsOut, &Destination::GetTranslatorIndex, sms, &Sms::GetTranslatorIndex));
    link(connect(smsOut, &Destination::GetExportExtensionForTranslator, this, &W::GetExportExtensionForTranslator));

    link(connect(batch, &Batch::GetCurrentPath, this, &W::GetCurrentPath));
    link(connect(batch, &Batch::GetEntireImportExtensionList, this, &W::GetEntireImportExtensionList));
    link(connect(params, &Params::GetEntireNameList, this, &W::GetEntireNameList));
    link(connect(params, &Params::GetCurrentPath, this, &W::GetCurrentPath));
    link(connect(batchOut, &Destination::GetCurrentPath, this, &W::GetCurrentPath));
    link(connect(batchOut, &Destination::GetSourceFileNameList, batch, &Batch::GetSourceFileNameList));
    link(connect(batchOut, &Destination::GetParamsFileNameList, params, &Params::GetParamsFileNameList));
    link(connect(batchOut, &Destination::LaunchAsked, this, &W::LaunchAsked));
    link(connect(batchOut, &Destination::LaunchAsked, mpProgressBar, &QProgressBar::reset));
    link(connect(batchOut, &Destination::GetOriginalPath, batch, &Batch::SetOriginalPath));
    link(connect(batchOut, &Destination::GetExtensionListForBatch, this, &W::GetExtensionListForBatch));
    link(connect(batchOut, &Destination::IsChecked, params, &Params::IsChecked));
}
