#pragma once
#include "Gui/Preview/CSoundOutput.h"
#include <QString>
#include <memory>

// The window's sound output: the effect output of the sound module beside the program when it loads, else a
// silent one. The module stays loaded while this object lives.
class CSoundModule
{
public:
    explicit CSoundModule(const QString& applicationFolder);
    ~CSoundModule();
    CSoundModule(const CSoundModule&) = delete;
    CSoundModule& operator=(const CSoundModule&) = delete;

    CSoundOutput& Output() { return *m_pOutput; }
    bool IsLoaded() const { return m_pModule != nullptr; }

private:
    void* m_pModule = nullptr;
    std::unique_ptr<CSoundOutput> m_pOutput;
};
