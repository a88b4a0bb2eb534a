#pragma once
#include <QApplication>

// One widget application per test process, made on first use.
inline QApplication& TestWidgetApplication()
{
    static int argc = 1;
    static char name[] = "OrvaneHostTests";
    static char* argv[] = {name, nullptr};
    static QApplication* application = qobject_cast<QApplication*>(QCoreApplication::instance());
    if (!application)
        application = new QApplication(argc, argv);
    return *application;
}
