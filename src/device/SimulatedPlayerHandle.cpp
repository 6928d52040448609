#include "device/SimulatedPlayerHandle.h"

#include <utility>

SimulatedPlayerHandle::SimulatedPlayerHandle(std::shared_ptr<SimulatedPlayer::Core> core,
                                             SimulatedPlayer::Port port, std::uint64_t session)
    : m_core(std::move(core)), m_port(port), m_session(session)
{}

int SimulatedPlayerHandle::write(std::span<const std::uint8_t> report)
{
    return SimulatedPlayer::writeReport(*m_core, m_port, m_session, report);
}

int SimulatedPlayerHandle::read(std::span<std::uint8_t> buffer, int timeoutMs)
{
    return SimulatedPlayer::readReport(*m_core, m_port, m_session, buffer, timeoutMs);
}

std::vector<std::uint8_t> SimulatedPlayerHandle::reportDescriptor()
{
    return SimulatedPlayer::descriptor(*m_core, m_port, m_session);
}
