#pragma once

#include "NetworkNamespace.h"
#include "TestEnvironment.h"

#include <QApplication>
#include <QTest>

// main() of a test program: its own HOME and XDG folders and the offscreen platform
// are set before the application object exists.
#define LT_TEST_MAIN(TestClass)                                                                    \
    int main(int argc, char* argv[])                                                               \
    {                                                                                              \
        TestEnvironment::prepare();                                                                \
        QApplication app(argc, argv);                                                              \
        app.setAttribute(Qt::AA_Use96Dpi, true);                                                   \
        TestClass test;                                                                            \
        QTEST_SET_MAIN_SOURCE_PATH                                                                 \
        return QTest::qExec(&test, argc, argv);                                                    \
    }

// The same for a test program that talks to the fake engine or starts the program: it
// first enters its private network and mount namespace, before any thread exists.
#define LT_TEST_MAIN_NETNS(TestClass)                                                              \
    int main(int argc, char* argv[])                                                               \
    {                                                                                              \
        NetworkNamespace::enter();                                                                 \
        TestEnvironment::prepare();                                                                \
        QApplication app(argc, argv);                                                              \
        app.setAttribute(Qt::AA_Use96Dpi, true);                                                   \
        TestClass test;                                                                            \
        QTEST_SET_MAIN_SOURCE_PATH                                                                 \
        return QTest::qExec(&test, argc, argv);                                                    \
    }
