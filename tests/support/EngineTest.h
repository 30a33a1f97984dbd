#pragma once

#include "CheckRun.h"
#include "CheckTiming.h"
#include "EngineEnvironment.h"
#include "EnginePages.h"
#include "FakeSearchEngine.h"
#include "TestMain.h"
#include "TestRankHub.h"
#include "TestRankOperation.h"

#include <QObject>

#include <memory>

// The set-up that the tests of checks against the fake engine share: checks run at the
// given pacing and watchdog scales, and every test function gets a fresh home, hub, engine
// (port 80 of the private network) and ways out.
class EngineTest : public QObject
{
    Q_OBJECT

public:
    explicit EngineTest(double watchdogScale = 0.2, double pacingScale = 0.001)
        : m_watchdogScale(watchdogScale), m_pacingScale(pacingScale)
    {}

protected:
    static QList<EngineEnvironment::Kind> kinds()
    {
        return {EngineEnvironment::Local, EngineEnvironment::Http, EngineEnvironment::Socks5};
    }

    std::unique_ptr<FakeSearchEngine> m_engine;
    std::unique_ptr<TestRankHub> m_hub;
    std::unique_ptr<EngineEnvironment> m_envir;

private slots:
    void initTestCase();
    void init();
    void cleanup();

private:
    double m_watchdogScale;
    double m_pacingScale;
};
