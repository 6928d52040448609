#pragma once

#include <sys/types.h>

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <utility>
#include <vector>

// A program the test starts and follows: its standard output line by line, each line stamped with the
// moment it arrived, and its standard error as a whole. Killed, if still running, when the object goes,
// and with the test process should that die first.
class ChildProcess
{
public:
    using Clock = std::chrono::steady_clock;

    // Runs program with arguments; as the given user and group when one is given (the test runs as root).
    ChildProcess(const std::string& program, const std::vector<std::string>& arguments,
                 std::optional<uid_t> user = std::nullopt);
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    // When the occurrence-th line equal to line arrived; nothing if it did not before the timeout.
    std::optional<Clock::time_point> waitForLine(const std::string& line, int occurrence,
                                                 std::chrono::milliseconds timeout);
    // The exit code (128 + the signal for a killed process), or nothing if it is still running by then.
    std::optional<int> waitForExit(std::chrono::milliseconds timeout);
    // Sends SIGTERM, then waits as waitForExit does.
    std::optional<int> stop(std::chrono::milliseconds timeout);
    std::string errors() const;

private:
    pid_t m_pid = -1;
    int m_pidFd = -1;
    // An anonymous file the child's standard error goes to: nothing to read while it runs, all of it after.
    int m_errors = -1;
    std::optional<int> m_exitCode;

    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::vector<std::pair<std::string, Clock::time_point>> m_lines;
    // Last: it reads into the members above until the child's output ends, which its death ensures.
    std::jthread m_reader;
};
