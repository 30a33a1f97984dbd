#include "TaskCooling.h"

#include "CheckRankTask.h"
#include "CheckTiming.h"
#include "HttpRequestEnvir.h"

#include <QTimerEvent>

TaskCooling::TaskCooling(CheckRankTask* task, HttpRequestEnvir* envir)
    : m_pTask(task), m_pEnvir(envir)
{
    const LTInt64 wait = RandomDelay(CheckTiming::SecondsToMs(task->Interval()));
    startTimer(CheckTiming::PacingInterval(wait), Qt::PreciseTimer);
}

TaskCooling::~TaskCooling() = default;

void TaskCooling::timerEvent(QTimerEvent* event)
{
    killTimer(event->timerId());
    // The environment destroys this cooling: nothing here may touch it afterwards.
    m_pEnvir->OnTaskCoolingFinish(this);
}
