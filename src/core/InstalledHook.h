#pragma once

// The process-wide slot of a hook class (message boxes, file dialogs, opening addresses):
// the application or a test installs one, and every caller goes through it.
template <class Hook> class InstalledHook
{
public:
    // Installs the hook for the whole process; returns the previous one. Ownership stays
    // with the caller.
    static Hook* install(Hook* hook)
    {
        Hook* previous = s_hook;
        s_hook = hook;
        return previous;
    }
    static Hook* installed() { return s_hook; }

protected:
    InstalledHook() = default;
    ~InstalledHook() = default;

private:
    static inline Hook* s_hook = nullptr;
};
