#pragma once

#include <QObject>

class CheckRankTask;
class HttpRequestEnvir;

// The rest an environment gives an engine host after a check of it has finished there.
// Fires once; owned by the environment.
class TaskCooling : public QObject
{
    Q_OBJECT

public:
    TaskCooling(CheckRankTask* task, HttpRequestEnvir* envir);
    ~TaskCooling() override;

    CheckRankTask* Task() const { return m_pTask; }

protected:
    void timerEvent(QTimerEvent* event) override;

private:
    CheckRankTask* m_pTask;
    HttpRequestEnvir* m_pEnvir;
};
