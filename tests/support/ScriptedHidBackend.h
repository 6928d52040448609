#pragma once

#include "device/HidBackend.h"

#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <string>

// A player whose answers the test scripts: every output report goes to onWrite, which may queue input
// reports for the reader. Used where the fault needed is one the simulated player does not model.
class ScriptedHidBackend : public HidBackend
{
public:
    struct State
    {
        std::mutex mutex;
        std::condition_variable arrived;
        std::deque<std::vector<std::uint8_t>> input;
        // Sees every output report written, failing ones included.
        std::function<void(std::span<const std::uint8_t>, State&)> onWrite;
        std::vector<std::uint8_t> descriptor;
        bool writesFail = false;
        bool readsFail = false;
        // What a failing handle gives as the system's reason.
        std::string failureText;

        void push(std::vector<std::uint8_t> report);
    };

    ScriptedHidBackend();

    std::vector<HidDeviceInfo> enumerate() override;
    std::unique_ptr<HidDevice> open(const std::string& path) override;
    std::uint32_t lastError() const override { return 0; }

    State& state() { return *m_state; }

    // Report ID 1 input and report ID 2 output of 63 bytes each: 64-byte reports with the ID.
    static std::vector<std::uint8_t> playerDescriptor();

private:
    std::shared_ptr<State> m_state;
};
