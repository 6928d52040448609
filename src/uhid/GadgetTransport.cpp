#include "uhid/GadgetTransport.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <system_error>

namespace fs = std::filesystem;

namespace {

// Every gadget a player makes is named after its process, so that one whose process is gone can be known.
const std::string kNamePrefix = "zoffino-player-";
// The one function of the player's one configuration.
const std::string kFunction = "functions/hid.usb0";
const std::string kConfig = "configs/c.1";
// No controller: configfs refuses an empty write, and drops the line's end.
const std::string kUnbind = "\n";
// US English, the language every host asks for.
const std::string kLanguage = "/0x409";

std::string systemText(int code)
{
    return std::strerror(code);
}

// A configfs attribute takes its whole value in one write.
bool writeAttribute(const std::string& path, const void* data, std::size_t size, int& code)
{
    const int fd = ::open(path.c_str(), O_WRONLY | O_CLOEXEC);
    if (fd < 0) {
        code = errno;
        return false;
    }
    ssize_t written = 0;
    do {
        written = ::write(fd, data, size);
    } while (written < 0 && errno == EINTR);
    code = written < 0 ? errno : 0;
    ::close(fd);
    return written == static_cast<ssize_t>(size);
}

bool writeText(const std::string& path, const std::string& text, int& code)
{
    return writeAttribute(path, text.data(), text.size(), code);
}

std::string hex(unsigned value)
{
    std::array<char, 8> text{};
    std::snprintf(text.data(), text.size(), "0x%04x", value);
    return text.data();
}

std::vector<std::string> controllers()
{
    std::vector<std::string> names;
    std::error_code ec;
    for (fs::directory_iterator entry(GadgetTransport::kControllers, ec), end; !ec && entry != end;
         entry.increment(ec)) {
        names.push_back(entry->path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

// Unbinds a gadget and removes what configfs lets a user remove, innermost first: the functions linked
// into each configuration, the configurations' strings, the configurations, the functions, the strings,
// the gadget. The folders configfs made by itself go with their parents.
void removeGadget(const fs::path& gadget)
{
    int ignored = 0;
    writeText(gadget / "UDC", kUnbind, ignored);
    std::error_code ec;
    const auto each = [&ec](const fs::path& folder, const auto& action) {
        std::vector<fs::path> entries;
        for (fs::directory_iterator entry(folder, ec), end; !ec && entry != end; entry.increment(ec)) {
            entries.push_back(entry->path());
        }
        ec.clear();
        for (const fs::path& entry : entries) {
            action(entry);
        }
    };
    each(gadget / "configs", [&](const fs::path& config) {
        each(config, [](const fs::path& entry) {
            if (fs::is_symlink(fs::symlink_status(entry))) {
                ::unlink(entry.c_str());
            }
        });
        each(config / "strings", [](const fs::path& language) { ::rmdir(language.c_str()); });
        ::rmdir(config.c_str());
    });
    each(gadget / "functions", [](const fs::path& function) { ::rmdir(function.c_str()); });
    each(gadget / "strings", [](const fs::path& language) { ::rmdir(language.c_str()); });
    ::rmdir(gadget.c_str());
}

// A player killed without the chance to remove its gadget leaves it bound, and its controller taken.
void removeLeftovers()
{
    std::error_code ec;
    std::vector<fs::path> gone;
    for (fs::directory_iterator entry(GadgetTransport::kGadgets, ec), end; !ec && entry != end;
         entry.increment(ec)) {
        const std::string name = entry->path().filename().string();
        if (!name.starts_with(kNamePrefix)) {
            continue;
        }
        char* stop = nullptr;
        const long pid = std::strtol(name.c_str() + kNamePrefix.size(), &stop, 10);
        if (pid > 0 && *stop == '\0' && ::kill(static_cast<pid_t>(pid), 0) != 0 && errno == ESRCH) {
            gone.push_back(entry->path());
        }
    }
    for (const fs::path& gadget : gone) {
        removeGadget(gadget);
    }
}

} // namespace

GadgetTransport::GadgetTransport(std::string folder, std::string controller)
    : m_folder(std::move(folder)), m_wanted(std::move(controller))
{}

std::unique_ptr<GadgetTransport> GadgetTransport::open(const std::string& controller, std::string& error)
{
    std::error_code ec;
    if (!fs::is_directory(kGadgets, ec)) {
        error = std::string(kGadgets) +
                " does not exist: configfs is not mounted, or this kernel has no USB gadget support or its "
                "module is not loaded (mount -t configfs none /sys/kernel/config; modprobe libcomposite)";
        return nullptr;
    }
    const std::vector<std::string> names = controllers();
    if (names.empty()) {
        error = std::string(kControllers) +
                " lists no USB device controller (modprobe dummy_hcd is_high_speed=0 makes a virtual one)";
        return nullptr;
    }
    if (!controller.empty() && std::find(names.begin(), names.end(), controller) == names.end()) {
        error = "There is no USB device controller " + controller + " in " + kControllers;
        return nullptr;
    }
    removeLeftovers();
    std::string folder = std::string(kGadgets) + "/" + kNamePrefix + std::to_string(::getpid());
    if (::mkdir(folder.c_str(), 0755) != 0) {
        const int code = errno;
        error = code == EACCES || code == EPERM
                    ? std::string("No permission to make a USB gadget in ") + kGadgets + ": run as root"
                    : "Cannot make " + folder + ": " + systemText(code);
        return nullptr;
    }
    return std::unique_ptr<GadgetTransport>(new GadgetTransport(std::move(folder), controller));
}

GadgetTransport::~GadgetTransport()
{
    if (m_fd >= 0) {
        ::close(m_fd);
    }
    removeGadget(m_folder);
}

bool GadgetTransport::describe(const Identity& identity, std::string& error)
{
    const std::string language = m_folder + "/strings" + kLanguage;
    const std::string function = m_folder + "/" + kFunction;
    const std::string config = m_folder + "/" + kConfig;
    for (const std::string& folder : {language, config, function}) {
        if (::mkdir(folder.c_str(), 0755) != 0 && errno != EEXIST) {
            const int code = errno;
            error = "Cannot make " + folder + ": " + systemText(code) +
                    (folder == function ? " (is the usb_f_hid module loaded?)" : "");
            return false;
        }
    }
    const std::string length = std::to_string(identity.reportLength);
    const std::vector<std::pair<std::string, std::string>> attributes{
        {m_folder + "/idVendor", hex(identity.vendor)},
        {m_folder + "/idProduct", hex(identity.productId)},
        {m_folder + "/bcdDevice", hex(identity.version)},
        {language + "/manufacturer", identity.manufacturer},
        {language + "/product", identity.product},
        {language + "/serialnumber", identity.serial},
        {config + "/MaxPower", "100"},
        {function + "/protocol", "0"},
        {function + "/subclass", "0"},
        {function + "/report_length", length},
    };
    int code = 0;
    for (const auto& [path, value] : attributes) {
        if (!writeText(path, value, code)) {
            error = "Cannot write " + path + ": " + systemText(code);
            return false;
        }
    }
    const std::string descriptor = function + "/report_desc";
    if (!writeAttribute(descriptor, identity.descriptor.data(), identity.descriptor.size(), code)) {
        error = "Cannot write " + descriptor + ": " + systemText(code);
        return false;
    }
    const fs::path link = fs::path(config) / fs::path(kFunction).filename();
    if (::symlink(function.c_str(), link.c_str()) != 0 && errno != EEXIST) {
        error = "Cannot put the HID function into the configuration: " + systemText(errno);
        return false;
    }
    // The host's HID core names the device by bus, ids and serial number; the serial tells this player's
    // apart from another's.
    std::array<char, 32> id{};
    std::snprintf(id.data(), id.size(), "HID_ID=0003:%08X:%08X", unsigned{identity.vendor},
                  unsigned{identity.productId});
    m_nodeLines = {id.data(), "HID_UNIQ=" + identity.serial};
    m_reportLength = identity.reportLength;
    m_described = true;
    return true;
}

bool GadgetTransport::plugIn(const Identity& identity, std::string& error)
{
    if (!m_described && !describe(identity, error)) {
        return false;
    }
    if (!bind(error)) {
        return false;
    }
    if (!openNode(error)) {
        std::string ignored;
        unplug(ignored);
        return false;
    }
    return true;
}

bool GadgetTransport::bind(std::string& error)
{
    const std::vector<std::string> names = m_wanted.empty() ? controllers() : std::vector{m_wanted};
    int code = ENODEV;
    for (const std::string& name : names) {
        // A controller that another gadget holds answers EBUSY; the next one is tried.
        if (writeText(m_folder + "/UDC", name, code)) {
            m_bound = name;
            return true;
        }
        if (code != EBUSY) {
            break;
        }
    }
    if (code == EBUSY) {
        error = m_wanted.empty() ? "Every USB device controller in " + std::string(kControllers) +
                                       " is taken by another gadget"
                                 : "The USB device controller " + m_wanted + " is taken by another gadget";
    } else {
        error = "Cannot bind the gadget to a USB device controller: " + systemText(code);
    }
    return false;
}

bool GadgetTransport::openNode(std::string& error)
{
    const std::string numbers = m_folder + "/" + kFunction + "/dev";
    unsigned major = 0;
    unsigned minor = 0;
    std::string text;
    std::getline(std::ifstream(numbers), text);
    if (std::sscanf(text.c_str(), "%u:%u", &major, &minor) != 2) {
        error = "Cannot read " + numbers;
        return false;
    }
    // The node's name is the kernel's: the function's number among all HID gadgets.
    std::string name;
    std::ifstream uevent("/sys/dev/char/" + text + "/uevent");
    for (std::string line; std::getline(uevent, line);) {
        if (line.starts_with("DEVNAME=")) {
            name = "/dev/" + line.substr(8);
        }
    }
    // Non-blocking: an input report the host has not fetched yet must not hold up the player.
    m_fd = name.empty() ? -1 : ::open(name.c_str(), O_RDWR | O_CLOEXEC | O_NONBLOCK);
    struct stat status = {};
    if (m_fd < 0 || ::fstat(m_fd, &status) != 0 || !S_ISCHR(status.st_mode) ||
        status.st_rdev != makedev(major, minor)) {
        const int code = errno;
        if (m_fd >= 0) {
            ::close(m_fd);
            m_fd = -1;
        }
        error = "Cannot open the HID function's node " + (name.empty() ? text : name) + ": " +
                (code != 0 ? systemText(code) : "not the function's device");
        return false;
    }
    return true;
}

bool GadgetTransport::unplug(std::string& error)
{
    if (m_fd >= 0) {
        ::close(m_fd);
        m_fd = -1;
    }
    if (m_bound.empty()) {
        return true;
    }
    m_bound.clear();
    int code = 0;
    if (!writeText(m_folder + "/UDC", kUnbind, code)) {
        error = "Cannot unbind the gadget from its controller: " + systemText(code);
        return false;
    }
    return true;
}

std::optional<PlayerTransport::Event> GadgetTransport::read(std::string& error)
{
    if (m_fd < 0) {
        error.clear();
        return std::nullopt;
    }
    // One read takes one transfer of the OUT endpoint, whose packets are a report long.
    std::vector<std::uint8_t> report(std::max<std::size_t>(m_reportLength, 1));
    ssize_t count = 0;
    do {
        count = ::read(m_fd, report.data(), report.size());
    } while (count < 0 && errno == EINTR);
    if (count < 0) {
        if (errno == EAGAIN || errno == EWOULDBLOCK) {
            error.clear();
        } else {
            error = "Reading the HID function's node failed: " + systemText(errno);
        }
        return std::nullopt;
    }
    report.resize(static_cast<std::size_t>(count));
    return Event{Event::Type::Output, std::move(report)};
}

PlayerTransport::Sent GadgetTransport::sendInput(std::span<const std::uint8_t> report, std::string& error)
{
    if (m_fd < 0) {
        return Sent::Dropped;
    }
    ssize_t written = 0;
    do {
        written = ::write(m_fd, report.data(), report.size());
    } while (written < 0 && errno == EINTR);
    if (written == static_cast<ssize_t>(report.size())) {
        return Sent::Done;
    }
    if (written < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
        return Sent::Busy;
    }
    // The host has not configured the player yet, or has let it go.
    if (written < 0 && (errno == ESHUTDOWN || errno == ENODEV || errno == ECONNRESET)) {
        return Sent::Dropped;
    }
    error = "Writing an input report to the HID function's node failed: " +
            (written < 0 ? systemText(errno) : std::string("short write"));
    return Sent::Failed;
}

std::string GadgetTransport::findNode() const
{
    return m_nodeLines.empty() ? std::string() : hidrawNodeOf(m_nodeLines);
}
