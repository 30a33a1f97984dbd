#pragma once

#include <cstring>

// The program's exception, thrown by value and caught by reference.
// Codes: 1 a resource file cannot be opened (message: its path), 2 ends a threaded
// progress dialog with done(1), 4 a proxy type other than "http" and "socks5",
// 5 a website that is not in the list.
class LTException
{
public:
    explicit LTException(int code, const char* message = nullptr) : m_nCode(code)
    {
        if (message) {
            std::strncpy(m_szMessage, message, sizeof(m_szMessage) - 1);
            m_szMessage[sizeof(m_szMessage) - 1] = '\0';
        }
    }

    int code() const { return m_nCode; }
    const char* message() const { return m_szMessage; }

private:
    int m_nCode;
    char m_szMessage[256] = {}; // at most 255 characters, longer texts are cut
};
