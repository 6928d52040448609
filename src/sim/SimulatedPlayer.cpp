#include "sim/SimulatedPlayer.h"

#include "device/Protocol.h"
#include "sim/FlashImage.h"
#include "sim/PlayerCore.h"
#include "sim/SimulatedPlayerHandle.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <mutex>
#include <optional>
#include <utility>

namespace {

// ENOENT, what hidapi reports on Linux for a path that is not there (any longer).
constexpr std::uint32_t kNoSuchDevice = 2;

} // namespace

SimulatedPlayer::SimulatedPlayer() : SimulatedPlayer(nullptr) {}

SimulatedPlayer::SimulatedPlayer(std::unique_ptr<PlayerFaults> faultPoints)
    : m_core(std::make_shared<PlayerCore>(std::move(faultPoints)))
{}

SimulatedPlayer::~SimulatedPlayer()
{
    std::lock_guard lock(m_core->mutex);
    m_core->shutDown();
}

std::vector<HidDeviceInfo> SimulatedPlayer::enumerate()
{
    std::lock_guard lock(m_core->mutex);
    std::vector<HidDeviceInfo> list;
    if (!m_core->bus.connected()) {
        return list;
    }
    list.push_back({kOtherPath, kOtherVendorId, kOtherProductId});
    if (!m_core->faults || m_core->faults->playerPresent()) {
        list.push_back({kPlayerPath, Protocol::kVendorId, Protocol::kProductId});
    }
    return list;
}

std::unique_ptr<HidDevice> SimulatedPlayer::open(const std::string& path)
{
    std::lock_guard lock(m_core->mutex);
    PlayerCore& core = *m_core;
    if (core.bus.connected() && path == kOtherPath) {
        m_lastError = 0;
        return std::make_unique<SimulatedPlayerHandle>(m_core, PlayerCore::Port::Keyboard, 0);
    }
    if (core.bus.connected() && (!core.faults || core.faults->playerPresent()) && path == kPlayerPath) {
        if (const auto failure = core.faults ? core.faults->openFailure() : std::nullopt) {
            m_lastError = *failure;
            return nullptr;
        }
        m_lastError = 0;
        return std::make_unique<SimulatedPlayerHandle>(m_core, PlayerCore::Port::Player, core.bus.session());
    }
    m_lastError = kNoSuchDevice;
    return nullptr;
}

std::uint32_t SimulatedPlayer::lastError() const
{
    return m_lastError;
}

bool SimulatedPlayer::attachImage(const std::string& path, std::string& error)
{
    // The file is read before the lock is taken, so that a reader waiting on the player is not held up.
    std::optional<FlashImage> image = FlashImage::open(path, error);
    if (!image) {
        return false;
    }
    std::lock_guard lock(m_core->mutex);
    m_core->flash = std::move(*image);
    return true;
}

void SimulatedPlayer::setReportTime(std::chrono::microseconds time)
{
    std::lock_guard lock(m_core->mutex);
    m_core->bus.setReportTime(time);
}

void SimulatedPlayer::setText(std::string text)
{
    std::lock_guard lock(m_core->mutex);
    m_core->firmware.setText(std::move(text));
}

void SimulatedPlayer::setConfig(std::uint8_t config1, std::uint8_t config2, std::uint8_t config3)
{
    std::lock_guard lock(m_core->mutex);
    m_core->firmware.storeConfig(config1, config2, config3);
}

std::array<std::uint8_t, 3> SimulatedPlayer::config() const
{
    std::lock_guard lock(m_core->mutex);
    return m_core->firmware.config();
}

bool SimulatedPlayer::imageReadOnly() const
{
    std::lock_guard lock(m_core->mutex);
    return m_core->flash.readOnly();
}

std::vector<std::uint8_t> SimulatedPlayer::flash() const
{
    std::lock_guard lock(m_core->mutex);
    const auto bytes = m_core->flash.bytes();
    return {bytes.begin(), bytes.end()};
}

bool SimulatedPlayer::setFlash(std::span<const std::uint8_t> image)
{
    if (image.size() != Protocol::kMemorySize) {
        return false;
    }
    std::lock_guard lock(m_core->mutex);
    m_core->flash.store(0, image);
    return true;
}

void SimulatedPlayer::writeFlash(std::uint32_t address, std::span<const std::uint8_t> bytes)
{
    std::lock_guard lock(m_core->mutex);
    m_core->flash.store(address, bytes);
}

void SimulatedPlayer::fillFlash(std::uint32_t address, std::uint32_t length, std::uint8_t value)
{
    std::lock_guard lock(m_core->mutex);
    m_core->flash.fill(address, length, value);
}

bool SimulatedPlayer::isPlaying() const
{
    std::lock_guard lock(m_core->mutex);
    m_core->settle(PlayerCore::Clock::now());
    return m_core->firmware.isPlaying();
}

std::unique_ptr<SimulatedPlayer>
SimulatedPlayer::onImage(const QString& path, std::chrono::microseconds reportTime, std::string& error)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    auto player = std::make_unique<SimulatedPlayer>();
    if (!player->attachImage(QFile::encodeName(path).toStdString(), error)) {
        return nullptr;
    }
    player->setReportTime(reportTime);
    return player;
}
