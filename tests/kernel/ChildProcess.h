#pragma once

#include <sys/types.h>

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

// A program the test starts and follows: its standard output line by line, each line stamped with the
// moment it arrived, and its standard error as a whole. Killed, if still running, when the object goes;
// and with the test process too, should that die first.
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
    // The exit code (128 + the signal for a killed process), or nothing if it is still running then. Once
    // it is known, what the process wrote has been read, within the same time limit.
    std::optional<int> waitForExit(std::chrono::milliseconds timeout);
    // Sends SIGTERM, then waits as waitForExit does.
    std::optional<int> stop(std::chrono::milliseconds timeout);

    std::vector<std::string> lines() const;
    std::string errors() const;

private:
    void readOutput(const std::stop_token& stop, int out, int err);

    pid_t m_pid = -1;
    int m_pidFd = -1;
    std::optional<int> m_exitCode;

    mutable std::mutex m_mutex;
    std::condition_variable m_changed;
    std::vector<std::pair<std::string, Clock::time_point>> m_lines;
    std::string m_errors;
    // Both pipes have been read to their end.
    bool m_outputDone = false;
    // Last: it reads into the members above until it is joined.
    std::jthread m_reader;
};
