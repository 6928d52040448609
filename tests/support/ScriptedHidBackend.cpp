#include "ScriptedHidBackend.h"

#include "device/Protocol.h"

#include <algorithm>

namespace {

class ScriptedDevice : public HidDevice
{
public:
    explicit ScriptedDevice(std::shared_ptr<ScriptedHidBackend::State> state) : m_state(std::move(state)) {}

    int write(std::span<const std::uint8_t> report) override
    {
        std::function<void(std::span<const std::uint8_t>, ScriptedHidBackend::State&)> onWrite;
        bool fails;
        {
            std::lock_guard lock(m_state->mutex);
            fails = m_state->writesFail;
            onWrite = m_state->onWrite;
        }
        // Called for failing writes too, so that a test can have a report arrive regardless.
        if (onWrite) {
            onWrite(report, *m_state);
        }
        return fails ? -1 : static_cast<int>(report.size());
    }

    int read(std::span<std::uint8_t> buffer, int timeoutMs) override
    {
        std::unique_lock lock(m_state->mutex);
        const bool ready = m_state->arrived.wait_for(lock, std::chrono::milliseconds(timeoutMs), [this] {
            return m_state->readsFail || !m_state->input.empty();
        });
        if (m_state->readsFail) {
            return -1;
        }
        if (!ready) {
            return 0;
        }
        const std::vector<std::uint8_t> report = std::move(m_state->input.front());
        m_state->input.pop_front();
        const std::size_t count = std::min(report.size(), buffer.size());
        std::copy_n(report.begin(), count, buffer.begin());
        return static_cast<int>(count);
    }

    std::vector<std::uint8_t> reportDescriptor() override
    {
        std::lock_guard lock(m_state->mutex);
        return m_state->descriptor;
    }

    std::string errorText() const override
    {
        std::lock_guard lock(m_state->mutex);
        return m_state->failureText;
    }

private:
    std::shared_ptr<ScriptedHidBackend::State> m_state;
};

} // namespace

void ScriptedHidBackend::State::push(std::vector<std::uint8_t> report)
{
    {
        std::lock_guard lock(mutex);
        input.push_back(std::move(report));
    }
    arrived.notify_all();
}

ScriptedHidBackend::ScriptedHidBackend() : m_state(std::make_shared<State>())
{
    m_state->descriptor = playerDescriptor();
}

std::vector<HidDeviceInfo> ScriptedHidBackend::enumerate()
{
    return {{"scripted:player", Protocol::kVendorId, Protocol::kProductId}};
}

std::unique_ptr<HidDevice> ScriptedHidBackend::open(const std::string&)
{
    return std::make_unique<ScriptedDevice>(m_state);
}

std::vector<std::uint8_t> ScriptedHidBackend::playerDescriptor()
{
    return {0x06, 0x00, 0xFF, 0x09, 0x01, 0xA1, 0x01, 0x85, 0x01, 0x09, 0x01, 0x15, 0x00, 0x26, 0xFF, 0x00,
            0x75, 0x08, 0x95, 0x3F, 0x81, 0x02, 0x85, 0x02, 0x09, 0x01, 0x95, 0x3F, 0x91, 0x02, 0xC0};
}
