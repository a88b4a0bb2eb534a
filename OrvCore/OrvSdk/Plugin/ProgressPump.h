#pragma once
#include <QCoreApplication>

// Lets the host's event loop run (its progress bar, its cancel button) each
// time a converter's bar moves, and only then: running it on every note or
// frame of a long conversion would cost more than the conversion itself.
class ProgressPump
{
public:
    void Restart() { m_nLastValue = -1; }

    void Moved(int value)
    {
        if (value == m_nLastValue || !QCoreApplication::instance())
            return;
        m_nLastValue = value;
        QCoreApplication::processEvents();
    }

private:
    int m_nLastValue = -1;
};
