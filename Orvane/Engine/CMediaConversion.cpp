#include "CMediaConversion.h"
#include "CEngineHost.h"
#include "CEngineState.h"
#include "CMainWindowLink.h"
#include "CMediaFitting.h"
#include "COrvEngine.h"
#include "CProgressPopup.h"
#include "CRunFilesHandOver.h"
#include "CSourceGuard.h"
#include "Core/CGenerationInfo.h"
#include "Documents/CDocumentAbstract.h"
#include "EngineSupport.h"
#include "FailedSource.h"
#include "Host/CPluginClass.h"
#include "Parameters/CProfile.h"
#include "Plugin/CPluginBase.h"

CMediaConversion::CMediaConversion(COrvEngine& engine)
    : m_Host(engine.Host()), m_State(engine.State()), m_Engine(engine)
{}

void CMediaConversion::Run(const CGenerationInfo& info)
{
    m_State.DiscardResult();
    CProgressPopup popup(m_Engine);
    popup.Show();
    m_Host.Log(Message("id_converting") + QLatin1Char('\n'));

    CPluginClass* record = PluginClassAt(m_Host.GetConverterList(m_Host.GetCurrentProfile()), info.mConverterIndex);
    CPluginBase* converter = record ? record->GetConverter() : nullptr;
    // A position outside the list is refused with a warning; without a document there is nothing to say.
    if (!converter)
        m_Host.Report(0, Message("id_convert_failed"), Message("id_converter_unavailable"));
    CDocument* document = m_State.mpLoadedDocument;
    if (!converter || !document) {
        popup.Hide();
        return;
    }

    CMediaFitting fitting(m_State.mpResizeAsker, m_Host.GetCurrentProfile(), m_State.mResizeOption != 0);
    int success = 0;
    CSourceGuard guard(m_Engine, document->GetName(), Message("id_convert_failed"));
    // A conversion that runs out of memory gives the source its own pictures back before it is said, so that the
    // fitted copies are let go of first.
    const bool enough = guard.Run(
        {converter}, [&] { success = FitAndConvert(info, record, document, fitting, popup); },
        [&] { fitting.Restore(); });
    if (m_State.mpWindow) {
        m_State.mpWindow->ValidateConversion(success);
        // The guard of a failed source has emptied the bar, and may have left its line there.
        if (enough)
            m_State.mpWindow->InitProgressBar();
    }
    fitting.Restore();
    popup.Hide();
}

int CMediaConversion::FitAndConvert(const CGenerationInfo& info, CPluginClass* record, CDocument* document,
                                    CMediaFitting& fitting, CProgressPopup& popup)
{
    CPluginBase* converter = record->GetConverter();
    m_Engine.FitFormSetForRun(record, info.mpParameters, document);
    // The converter knows the run's own files while it works.
    const CRunFiles runFiles = WindowRunFiles(m_Host, document->GetName(), record);
    const CRunFilesHandOver handOver(runFiles, {converter});
    if (fitting.Fit(document, converter) == CMediaFitting::CANCELLED)
        return 0;

    QObject::connect(converter, &CPluginBase::SetProgress, &m_Engine, &COrvEngine::ProgressForConvertion);
    ClearConversionLog(converter);
    converter->SetProfile(m_Host.GetCurrentProfile());
    converter->SetParameters(info.mpParameters);
    m_State.mConvertedDocumentName = document->GetName();
    m_State.mCancelFlag = 0;

    int success = 0;
    CProfile* profile = m_Host.GetCurrentProfile();
    if (converter->IsCompatibleWithProfile(profile) != 1) {
        ReportFailedSource(m_Host, Message("id_convert_failed"), CFailedStep::CONVERT, document->GetName(),
                           Message("id_profile_not_compatible", profile ? profile->GetMobileName() : QString()));
    } else {
        const bool cancelable = converter->IsCancelable() != 0;
        if (cancelable) {
            m_State.mpRunningConverter = converter;
            popup.OfferCancel(false);
        }
        success = Convert(converter);
        if (cancelable)
            popup.WithdrawCancel(false);
    }
    QObject::disconnect(converter, &CPluginBase::SetProgress, &m_Engine, &COrvEngine::ProgressForConvertion);
    return success;
}

int CMediaConversion::Convert(CPluginBase* converter)
{
    DiscardConverterOutput(converter);
    if (converter->Convert(m_State.mpLoadedDocument)) {
        // The converter's chunks stay with it as the result's files until the next conversion.
        m_State.mpResultConverter = converter;
        m_State.mpPreviewDocument = converter->TakePreviewDocument();
        m_State.mpResultDocument = converter->GetRawDataAsDocument();
        m_Host.LogConversionLog(converter);
        m_Host.Log(Message("id_convertion_success") + QLatin1Char('\n'));
        return 1;
    }
    DiscardConverterOutput(converter);
    if (m_State.mCancelFlag != 0)
        return 0;
    ReportFailedSource(m_Host, Message("id_convert_failed"), CFailedStep::CONVERT, m_State.mpLoadedDocument->GetName(),
                       converter);
    return 0;
}
