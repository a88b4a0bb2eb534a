#include "CMediaConversion.h"
#include "CEngineState.h"
#include "CMainWindowLink.h"
#include "CMediaFitting.h"
#include "CProgressPopup.h"
#include "Core/CGenerationInfo.h"
#include "Core/COrvApplication.h"
#include "Documents/CDocumentAbstract.h"
#include "EngineSupport.h"
#include "Parameters/CProfile.h"
#include "Plugin/CPluginBase.h"

CMediaConversion::CMediaConversion(COrvApplication& application, CEngineState& state)
    : m_Application(application), m_State(state)
{
}

void CMediaConversion::Run(const CGenerationInfo& info)
{
    m_State.DiscardResult();
    CProgressPopup popup(m_Application, m_State);
    popup.Show();
    m_Application.Log(Message("id_converting") + QLatin1Char('\n'));

    CPluginBase* converter = COrvApplication::ConverterAt(
        m_Application.GetConverterList(m_Application.GetCurrentProfile()), info.mConverterIndex);
    // A position outside the list is refused with a warning; without a document there is nothing to say.
    if (!converter)
        m_Application.Report(0, Message("id_convert_failed"), Message("id_converter_unavailable"));
    CDocument* document = m_State.mpLoadedDocument;
    if (!converter || !document) {
        popup.Hide();
        return;
    }

    CMediaFitting fitting(m_State.mpResizeAsker, m_Application.GetCurrentProfile(), m_State.mResizeOption != 0);
    if (fitting.Fit(document, converter) == CMediaFitting::CANCELLED) {
        if (m_State.mpWindow) {
            m_State.mpWindow->ValidateConversion(0);
            m_State.mpWindow->InitProgressBar();
        }
        popup.Hide();
        return;
    }

    QObject::connect(converter, &CPluginBase::SetProgress, &m_Application, &COrvApplication::ProgressForConvertion);
    ClearConversionLog(converter);
    converter->SetProfile(m_Application.GetCurrentProfile());
    converter->SetParameters(info.mpParameters);
    m_State.mConvertedDocumentName = document->GetName();
    m_State.mCancelFlag = 0;

    int success = 0;
    CProfile* profile = m_Application.GetCurrentProfile();
    if (converter->IsCompatibleWithProfile(profile) != 1) {
        m_Application.Report(0, Message("id_convert_failed"),
                             Message("id_profile_not_compatible").arg(profile ? profile->GetMobileName() : QString()));
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

    QObject::disconnect(converter, &CPluginBase::SetProgress, &m_Application,
                        &COrvApplication::ProgressForConvertion);
    if (m_State.mpWindow) {
        m_State.mpWindow->ValidateConversion(success);
        m_State.mpWindow->InitProgressBar();
    }
    fitting.Restore();
    popup.Hide();
}

int CMediaConversion::Convert(CPluginBase* converter)
{
    DiscardConverterOutput(converter);
    if (converter->Convert(m_State.mpLoadedDocument)) {
        // The converter's chunks stay with it as the result's files until the next conversion.
        m_State.mpResultConverter = converter;
        m_State.mpPreviewDocument = converter->TakePreviewDocument();
        m_State.mpResultDocument = converter->GetRawDataAsDocument();
        m_Application.LogConversionLog(converter);
        m_Application.Log(Message("id_convertion_success") + QLatin1Char('\n'));
        return 1;
    }
    DiscardConverterOutput(converter);
    if (m_State.mCancelFlag != 0)
        return 0;
    m_Application.LogConversionLog(converter);
    m_Application.Log(QLatin1Char('\n') + Message("id_convertion_failed") + QLatin1Char('\n'));
    m_Application.Report(0, Message("id_convert_failed"),
                         WithoutFinalLineFeed(converter->GetConversionLog()->GetDetailedText()));
    return 0;
}
