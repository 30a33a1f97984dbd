#pragma once

#include "MessageBoxHook.h"

#include <QList>
#include <QQueue>

// Stands in for every message box while it lives: records each box and answers it,
// with the queued answers first and then the box's default button (else Ok).
class MessageBoxWatcher : public MessageBoxHook
{
public:
    MessageBoxWatcher();
    ~MessageBoxWatcher() override;

    int show(const Request& request) override;

    void queueAnswer(int button) { m_answers.enqueue(button); }
    const QList<Request>& boxes() const { return m_boxes; }
    void clear() { m_boxes.clear(); }

private:
    MessageBoxHook* m_previous;
    QList<Request> m_boxes;
    QQueue<int> m_answers;
};
