#pragma once

#include <csignal>
#include <sys/resource.h>

// Makes writes that grow a file past `bytes` fail with EFBIG for as long as
// it lives, the way a full disk fails them, even for root. A write past the
// limit also raises SIGXFSZ, which ends the process unless it is ignored: the
// limit ignores it meanwhile, or with `LeaveSignal` leaves that to the code
// under test.
class FileSizeLimit
{
public:
    enum Signal { IgnoreSignal, LeaveSignal };

    explicit FileSizeLimit(rlim_t bytes, Signal signal = IgnoreSignal) : m_signal(signal)
    {
        getrlimit(RLIMIT_FSIZE, &m_previous);
        if (m_signal == IgnoreSignal)
            m_previousHandler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit = m_previous;
        limit.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit()
    {
        setrlimit(RLIMIT_FSIZE, &m_previous);
        if (m_signal == IgnoreSignal)
            std::signal(SIGXFSZ, m_previousHandler);
    }
    FileSizeLimit(const FileSizeLimit &) = delete;
    FileSizeLimit &operator=(const FileSizeLimit &) = delete;

private:
    Signal m_signal;
    rlimit m_previous{};
    void (*m_previousHandler)(int) = nullptr;
};
