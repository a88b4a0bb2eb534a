#include "CSourceGuard.h"
#include "CEngineHost.h"
#include "CEngineState.h"
#include "CMainWindowLink.h"
#include "COrvEngine.h"
#include "EngineSupport.h"
#include "Plugin/CPluginBase.h"
#include "Util/SafeFileWrite.h"
#include <QList>
#include <new>

namespace {

// What the engine holds between calls, to tell afterwards what a failed step left there.
struct CHeld
{
    explicit CHeld(const CEngineState& state)
        : loaded(state.mpLoadedDocument), preview(state.mpPreviewDocument), result(state.mpResultDocument),
          resultConverter(state.mpResultConverter)
    {}
    const void* loaded;
    const void* preview;
    const void* result;
    const void* resultConverter;
};

} // namespace

CSourceGuard::CSourceGuard(COrvEngine& engine, const QString& source, const QString& title)
    : m_Engine(engine), m_Source(source), m_Title(title)
{}

bool CSourceGuard::Run(std::initializer_list<CPluginBase*> plugins, const std::function<void()>& step,
                       const std::function<void()>& release)
{
    CEngineState& state = m_Engine.State();
    const CHeld before(state);
    CWrittenFiles written;
    try {
        step();
        return true;
    } catch (const std::bad_alloc&) {
    }
    written.PutBack();
    for (CPluginBase* plugin : plugins) {
        if (!plugin)
            continue;
        DiscardConverterOutput(plugin);
        QObject::disconnect(plugin, &CPluginBase::SetProgress, &m_Engine, nullptr);
    }
    state.mpRunningConverter = nullptr;
    const CHeld after(state);
    if (after.loaded != before.loaded)
        state.DiscardLoadedDocument();
    if (after.preview != before.preview || after.result != before.result
        || after.resultConverter != before.resultConverter)
        state.DiscardResult();
    if (release) {
        try {
            release();
        } catch (const std::bad_alloc&) {
        }
    }
    if (state.mpWindow)
        state.mpWindow->InitProgressBar();

    Report(state.mpWindow);
    return false;
}

void CSourceGuard::Report(CMainWindowLink* window) const
{
    // Saying so may run short too: the line then goes where it can, and the program goes on.
    QString text;
    try {
        text = Message("id_source_out_of_memory", m_Source);
        m_Engine.Host().Log(text + QLatin1Char('\n'));
    } catch (const std::bad_alloc&) {
        return;
    }
    if (m_Title.isEmpty())
        return;
    try {
        m_Engine.Host().Report(0, m_Title, text);
        return;
    } catch (const std::bad_alloc&) {
    }
    // A box that cannot be built: the status bar holds the line instead.
    try {
        if (window)
            window->SetProgress(text, 0);
    } catch (const std::bad_alloc&) {
    }
}
