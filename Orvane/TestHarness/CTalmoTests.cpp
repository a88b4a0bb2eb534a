#include "CTalmoTests.h"
#include "Core/COrvApplication.h"
#include "TestDialog.h"
#include <QCoreApplication>

CTalmoTests::CTalmoTests() = default;

CTalmoTests::~CTalmoTests() = default;

bool CTalmoTests::Run()
{
    auto* application = qobject_cast<COrvApplication*>(QCoreApplication::instance());
    if (!application || application->IsCommandLineMode())
        return true;
    if (!m_pDialog)
        m_pDialog = std::make_unique<TestDialog>(application->GetUserPrompt());
    m_pDialog->show();
    return true;
}

bool CTalmoTests::Close()
{
    qDebug("Test Talmo : Close");
    m_pDialog.reset();
    return true;
}
