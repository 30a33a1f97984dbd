#include "MessageBoxWatcher.h"

MessageBoxWatcher::MessageBoxWatcher() : m_previous(MessageBoxHook::install(this)) {}

MessageBoxWatcher::~MessageBoxWatcher()
{
    MessageBoxHook::install(m_previous);
}

int MessageBoxWatcher::show(const Request& request)
{
    m_boxes.append(request);
    if (!m_answers.isEmpty())
        return m_answers.dequeue();
    return request.defaultButton != NoButton ? request.defaultButton : Ok;
}
