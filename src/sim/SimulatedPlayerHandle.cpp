#include "sim/SimulatedPlayerHandle.h"

#include <utility>

SimulatedPlayerHandle::SimulatedPlayerHandle(std::shared_ptr<PlayerCore> core, PlayerCore::Port port,
                                             std::uint64_t session)
    : m_core(std::move(core)), m_port(port), m_session(session)
{}

int SimulatedPlayerHandle::write(std::span<const std::uint8_t> report)
{
    return m_core->write(m_port, m_session, report);
}

int SimulatedPlayerHandle::read(std::span<std::uint8_t> buffer, int timeoutMs)
{
    return m_core->read(m_port, m_session, buffer, timeoutMs);
}

std::vector<std::uint8_t> SimulatedPlayerHandle::reportDescriptor()
{
    return m_core->descriptor(m_port, m_session);
}
