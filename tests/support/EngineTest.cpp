#include "EngineTest.h"

void EngineTest::initTestCase()
{
    CheckTiming::SetPacingScale(m_pacingScale);
    CheckTiming::SetWatchdogScale(m_watchdogScale);
}

void EngineTest::init()
{
    LT_REQUIRE_NETNS();
    TestEnvironment::freshHome();
    m_hub = std::make_unique<TestRankHub>();
    m_engine = std::make_unique<FakeSearchEngine>();
    QVERIFY(m_engine->listen(80));
    m_envir = std::make_unique<EngineEnvironment>();
}

void EngineTest::cleanup()
{
    m_envir.reset();
    m_engine.reset();
    m_hub.reset();
    CheckTiming::SetWatchdogScale(m_watchdogScale); // a test may have changed it
}
