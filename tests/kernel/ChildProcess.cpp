#include "ChildProcess.h"

#include <fcntl.h>
#include <grp.h>
#include <poll.h>
#include <sys/mman.h>
#include <sys/prctl.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <csignal>
#include <stdexcept>

ChildProcess::ChildProcess(const std::string& program, const std::vector<std::string>& arguments,
                           std::optional<uid_t> user)
{
    std::array<int, 2> out{};
    m_errors = ::memfd_create("stderr", MFD_CLOEXEC);
    if (m_errors < 0 || ::pipe2(out.data(), O_CLOEXEC) != 0) {
        throw std::runtime_error("no pipe for a child process");
    }
    // Built before the fork: the child of a threaded process may only make plain system calls.
    std::vector<std::string> words{program};
    words.insert(words.end(), arguments.begin(), arguments.end());
    std::vector<char*> argv;
    for (std::string& word : words) {
        argv.push_back(word.data());
    }
    argv.push_back(nullptr);

    m_pid = ::fork();
    if (m_pid == 0) {
        ::prctl(PR_SET_PDEATHSIG, SIGKILL);
        ::dup2(out[1], STDOUT_FILENO);
        ::dup2(m_errors, STDERR_FILENO);
        if (user && (::setgroups(0, nullptr) != 0 || ::setgid(*user) != 0 || ::setuid(*user) != 0)) {
            ::_exit(126);
        }
        ::execv(program.c_str(), argv.data());
        ::_exit(127);
    }
    ::close(out[1]);
    if (m_pid < 0) {
        ::close(out[0]);
        throw std::runtime_error("cannot start " + program);
    }
    m_pidFd = static_cast<int>(::syscall(SYS_pidfd_open, m_pid, 0));
    m_reader = std::jthread([this, fd = out[0]] {
        std::string partial;
        std::array<char, 512> buffer{};
        for (;;) {
            const ssize_t count = ::read(fd, buffer.data(), buffer.size());
            if (count < 0 && errno == EINTR) {
                continue;
            }
            if (count <= 0) {
                break;
            }
            const auto now = Clock::now();
            partial.append(buffer.data(), static_cast<std::size_t>(count));
            std::lock_guard lock(m_mutex);
            for (auto end = partial.find('\n'); end != std::string::npos; end = partial.find('\n')) {
                m_lines.emplace_back(partial.substr(0, end), now);
                partial.erase(0, end + 1);
            }
            m_changed.notify_all();
        }
        ::close(fd);
    });
}

ChildProcess::~ChildProcess()
{
    if (!m_exitCode) {
        ::kill(m_pid, SIGKILL);
        ::waitpid(m_pid, nullptr, 0);
    }
    m_reader.join();
    ::close(m_pidFd);
    ::close(m_errors);
}

std::optional<ChildProcess::Clock::time_point>
ChildProcess::waitForLine(const std::string& line, int occurrence, std::chrono::milliseconds timeout)
{
    std::unique_lock lock(m_mutex);
    std::optional<Clock::time_point> when;
    m_changed.wait_until(lock, Clock::now() + timeout, [&] {
        int seen = 0;
        for (const auto& [text, arrived] : m_lines) {
            if (text == line && ++seen == occurrence) {
                when = arrived;
                return true;
            }
        }
        return false;
    });
    return when;
}

std::optional<int> ChildProcess::waitForExit(std::chrono::milliseconds timeout)
{
    const auto deadline = Clock::now() + timeout;
    while (!m_exitCode) {
        int status = 0;
        const pid_t done = ::waitpid(m_pid, &status, WNOHANG);
        if (done == m_pid) {
            m_exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
            break;
        }
        const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now()).count();
        if (done < 0 || left <= 0) {
            break;
        }
        // The pid's file descriptor turns readable when the process ends.
        pollfd fd{m_pidFd, POLLIN, 0};
        ::poll(&fd, 1, static_cast<int>(left));
    }
    return m_exitCode;
}

std::optional<int> ChildProcess::stop(std::chrono::milliseconds timeout)
{
    if (!m_exitCode) {
        ::kill(m_pid, SIGTERM);
    }
    return waitForExit(timeout);
}

std::string ChildProcess::errors() const
{
    std::string text;
    std::array<char, 512> buffer{};
    for (off_t at = 0;;) {
        const ssize_t count = ::pread(m_errors, buffer.data(), buffer.size(), at);
        if (count <= 0) {
            return text;
        }
        text.append(buffer.data(), static_cast<std::size_t>(count));
        at += count;
    }
}
