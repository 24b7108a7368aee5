#ifdef VESTREL_WIDGET_TESTS
#include <QApplication>
#else
#include <QCoreApplication>
#endif

#include <gtest/gtest.h>

#include <clocale>
#include <cstdlib>
#include <ctime>

// Every test executable runs in Rome's time zone with a neutral C locale, so dates, names and
// separators do not depend on the machine, and with the power and clock services disabled.
int main(int argc, char** argv)
{
    setenv("TZ", "Europe/Rome", 1);
    tzset();
    setenv("LC_ALL", "C.UTF-8", 1);
    std::setlocale(LC_ALL, "C.UTF-8");
    // No test may power the machine off or move its clock through the real system services.
    setenv("VESTREL_POWER", "none", 1);
    setenv("VESTREL_CLOCK", "none", 1);
    // Nor see the machine's own dial-up connections: the default dial-up service is simulated.
    setenv("VESTREL_DIALUP", "simulated", 1);
    // Nor the machine's modems: a test that wants a line installs or asks for one.
    setenv("VESTREL_LINE", "none", 1);
    // Nor make a noise: the default sound output is silent.
    setenv("VESTREL_SOUND", "none", 1);
#ifdef VESTREL_WIDGET_TESTS
    // Widget tests draw offscreen unless told otherwise.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication app(argc, argv);
#else
    QCoreApplication app(argc, argv);
#endif
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
