#include "uhid/UhidDevice.h"

#include <linux/uhid.h>

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace {

std::string systemText(int code)
{
    return std::strerror(code);
}

// Copies text into a fixed field of the kernel's request (zeroed before), always leaving its terminating
// zero. The fields are members of packed structures, so they are passed as plain pointers.
void setField(__u8* field, std::size_t size, const std::string& text)
{
    std::copy_n(text.begin(), std::min(text.size(), size - 1), field);
}

} // namespace

UhidDevice::UhidDevice(int fd) : m_fd(fd), m_event(std::make_unique<uhid_event>()) {}

UhidDevice::~UhidDevice()
{
    std::string ignored;
    if (m_created) {
        destroy(ignored);
    }
    if (m_fd >= 0) {
        // Closing would take the device off the bus as well; destroying first does it in a known order.
        ::close(m_fd);
    }
}

std::unique_ptr<UhidDevice> UhidDevice::open(const std::string& path, std::string& error)
{
    // Non-blocking: every read follows a poll, and a read with nothing waiting must not hang the player.
    const int fd = ::open(path.c_str(), O_RDWR | O_CLOEXEC | O_NONBLOCK);
    if (fd >= 0) {
        return std::make_unique<UhidDevice>(fd);
    }
    const int code = errno;
    switch (code) {
    case ENOENT:
    case ENODEV:
    case ENXIO:
        error = path + " does not exist: this kernel has no uhid support, or its module is not loaded "
                       "(modprobe uhid as root)";
        break;
    case EACCES:
    case EPERM:
        error =
            "No permission to open " + path + ": run as root, or give this user read and write access to it";
        break;
    default:
        error = "Cannot open " + path + ": " + systemText(code);
        break;
    }
    return nullptr;
}

bool UhidDevice::write(const char* what, std::string& error)
{
    for (;;) {
        // The kernel takes a whole event or nothing.
        const ssize_t written = ::write(m_fd, m_event.get(), sizeof(uhid_event));
        if (written == static_cast<ssize_t>(sizeof(uhid_event))) {
            return true;
        }
        if (written < 0 && errno == EINTR) {
            continue;
        }
        error = std::string("The kernel refused ") + what + ": " +
                (written < 0 ? systemText(errno) : std::string("short write"));
        return false;
    }
}

bool UhidDevice::create(const Identity& identity, std::string& error)
{
    if (identity.descriptor.empty() || identity.descriptor.size() > HID_MAX_DESCRIPTOR_SIZE) {
        error = "The report descriptor does not fit the kernel's limit";
        return false;
    }
    std::memset(m_event.get(), 0, sizeof(uhid_event));
    m_event->type = UHID_CREATE2;
    uhid_create2_req& req = m_event->u.create2;
    setField(req.name, sizeof req.name, identity.name);
    setField(req.phys, sizeof req.phys, identity.phys);
    setField(req.uniq, sizeof req.uniq, identity.uniq);
    req.rd_size = static_cast<__u16>(identity.descriptor.size());
    req.bus = identity.bus;
    req.vendor = identity.vendor;
    req.product = identity.product;
    req.version = identity.version;
    req.country = 0;
    std::copy(identity.descriptor.begin(), identity.descriptor.end(), req.rd_data);
    if (!write("the new device", error)) {
        return false;
    }
    m_created = true;
    return true;
}

bool UhidDevice::destroy(std::string& error)
{
    if (!m_created) {
        return true;
    }
    std::memset(m_event.get(), 0, sizeof(uhid_event));
    m_event->type = UHID_DESTROY;
    // Whatever the answer, the device is gone for this handle: the kernel keeps none it could not destroy.
    m_created = false;
    return write("taking the device off the bus", error);
}

bool UhidDevice::sendInput(std::span<const std::uint8_t> report, std::string& error)
{
    if (report.size() > UHID_DATA_MAX) {
        error = "An input report is longer than the kernel takes";
        return false;
    }
    std::memset(m_event.get(), 0, sizeof(uhid_event));
    m_event->type = UHID_INPUT2;
    m_event->u.input2.size = static_cast<__u16>(report.size());
    std::copy(report.begin(), report.end(), m_event->u.input2.data);
    return write("an input report", error);
}

bool UhidDevice::answerGetReport(std::uint32_t requestId, std::uint16_t errorCode, std::string& error)
{
    std::memset(m_event.get(), 0, sizeof(uhid_event));
    m_event->type = UHID_GET_REPORT_REPLY;
    m_event->u.get_report_reply.id = requestId;
    m_event->u.get_report_reply.err = errorCode;
    m_event->u.get_report_reply.size = 0;
    return write("the answer to a report request", error);
}

bool UhidDevice::answerSetReport(std::uint32_t requestId, std::uint16_t errorCode, std::string& error)
{
    std::memset(m_event.get(), 0, sizeof(uhid_event));
    m_event->type = UHID_SET_REPORT_REPLY;
    m_event->u.set_report_reply.id = requestId;
    m_event->u.set_report_reply.err = errorCode;
    return write("the answer to a report sent through the control pipe", error);
}

std::optional<UhidDevice::Event> UhidDevice::read(std::string& error)
{
    ssize_t count = 0;
    do {
        count = ::read(m_fd, m_event.get(), sizeof(uhid_event));
    } while (count < 0 && errno == EINTR);
    if (count < 0) {
        if (errno == EAGAIN || errno == EWOULDBLOCK) {
            error.clear();
        } else {
            error = std::string("Reading ") + kPath + " failed: " + systemText(errno);
        }
        return std::nullopt;
    }
    if (count == 0) {
        error = std::string(kPath) + " was closed";
        return std::nullopt;
    }
    // The kernel hands over whole events; anything less means the handle is not what it should be.
    if (count < static_cast<ssize_t>(sizeof(m_event->type))) {
        error = std::string("Reading ") + kPath + " gave a truncated event";
        return std::nullopt;
    }

    Event event;
    const uhid_event& e = *m_event;
    switch (e.type) {
    case UHID_START:
        event.type = Event::Type::Start;
        break;
    case UHID_STOP:
        event.type = Event::Type::Stop;
        break;
    case UHID_OPEN:
        event.type = Event::Type::Open;
        break;
    case UHID_CLOSE:
        event.type = Event::Type::Close;
        break;
    case UHID_OUTPUT: {
        event.type = Event::Type::Output;
        event.outputReport = e.u.output.rtype == UHID_OUTPUT_REPORT;
        // The size comes from the kernel, but a buffer is never read past its end on anyone's word.
        const std::size_t size = std::min<std::size_t>(e.u.output.size, UHID_DATA_MAX);
        event.bytes.assign(e.u.output.data, e.u.output.data + size);
        break;
    }
    case UHID_GET_REPORT:
        event.type = Event::Type::GetReport;
        event.requestId = e.u.get_report.id;
        event.reportNumber = e.u.get_report.rnum;
        event.outputReport = e.u.get_report.rtype == UHID_OUTPUT_REPORT;
        break;
    case UHID_SET_REPORT: {
        event.type = Event::Type::SetReport;
        event.requestId = e.u.set_report.id;
        event.reportNumber = e.u.set_report.rnum;
        event.outputReport = e.u.set_report.rtype == UHID_OUTPUT_REPORT;
        const std::size_t size = std::min<std::size_t>(e.u.set_report.size, UHID_DATA_MAX);
        event.bytes.assign(e.u.set_report.data, e.u.set_report.data + size);
        break;
    }
    default:
        event.type = Event::Type::Other;
        break;
    }
    return event;
}
