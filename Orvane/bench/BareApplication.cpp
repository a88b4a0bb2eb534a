// The yardstick for start-up figures: a widget application on the platform a
// command-line run uses, created and destroyed, nothing else.
#include <QApplication>

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    return 0;
}
