#include "COrvEngine.h"
#include "CEngineHost.h"

COrvEngine::COrvEngine(CEngineHost& host) : m_Host(host) {}

COrvEngine::~COrvEngine() = default;

void COrvEngine::Clear()
{
    m_State.Clear();
}
