#include "uhid/UhidTransport.h"

#include "device/Protocol.h"

#include <linux/input.h>

#include <unistd.h>

#include <cerrno>

UhidTransport::UhidTransport(std::unique_ptr<UhidDevice> device)
    : m_device(std::move(device)),
      // Unique to this process, so that its device can be told apart from another player's in sysfs.
      m_phys("zoffino-uhid-player-" + std::to_string(::getpid()) + "/input0")
{}

bool UhidTransport::plugIn(const Identity& identity, std::string& error)
{
    UhidDevice::Identity device;
    device.name = identity.manufacturer + " " + identity.product;
    device.phys = m_phys;
    device.uniq = identity.serial;
    device.bus = BUS_USB;
    device.vendor = identity.vendor;
    device.product = identity.productId;
    device.version = identity.version;
    device.descriptor = identity.descriptor;
    return m_device->create(device, error);
}

std::optional<PlayerTransport::Event> UhidTransport::read(std::string& error)
{
    using Type = UhidDevice::Event::Type;
    for (;;) {
        std::optional<UhidDevice::Event> event = m_device->read(error);
        if (!event) {
            return std::nullopt;
        }
        switch (event->type) {
        case Type::Start:
            return Event{Event::Type::DriverStarted, {}};
        case Type::Stop:
            return Event{Event::Type::DriverStopped, {}};
        case Type::Output:
            // Events of a device taken off the bus may still be queued; they belong to no one now.
            if (m_device->created() && event->outputReport) {
                return Event{Event::Type::Output, std::move(event->bytes)};
            }
            break;
        case Type::GetReport:
            // Input reports travel only on the interrupt pipe, and the player has no feature report.
            if (!m_device->answerGetReport(event->requestId, EIO, error)) {
                return std::nullopt;
            }
            break;
        case Type::SetReport: {
            // An output report through the control pipe is taken like one through the interrupt pipe; the
            // host hears that it arrived before the player has acted on it, as on the interrupt pipe.
            const bool taken = event->outputReport && event->reportNumber == Protocol::kOutputReportId;
            if (!m_device->answerSetReport(event->requestId, taken ? 0 : EIO, error)) {
                return std::nullopt;
            }
            if (taken && m_device->created()) {
                return Event{Event::Type::Output, std::move(event->bytes)};
            }
            break;
        }
        case Type::Open:
        case Type::Close:
        case Type::Other:
            break;
        }
    }
}

PlayerTransport::Sent UhidTransport::sendInput(std::span<const std::uint8_t> report, std::string& error)
{
    return m_device->sendInput(report, error) ? Sent::Done : Sent::Failed;
}

std::string UhidTransport::findNode() const
{
    return hidrawNodeOf({"HID_PHYS=" + m_phys});
}
