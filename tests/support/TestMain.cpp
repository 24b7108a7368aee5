#include <QCoreApplication>

#include <gtest/gtest.h>

#include <clocale>
#include <cstdlib>
#include <ctime>

// Every test executable runs in Rome's time zone with a neutral C locale, so dates, names and
// separators do not depend on the machine.
int main(int argc, char** argv)
{
    setenv("TZ", "Europe/Rome", 1);
    tzset();
    setenv("LC_ALL", "C.UTF-8", 1);
    std::setlocale(LC_ALL, "C.UTF-8");
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
