#include "device/SimulatedPlayer.h"

#include "device/Protocol.h"
#include "device/SimulatedPlayerHandle.h"

#include <algorithm>
#include <condition_variable>
#include <cstdio>
#include <deque>
#include <filesystem>
#include <mutex>
#include <string_view>
#include <thread>
#include <utility>

namespace {

using Clock = std::chrono::steady_clock;
using Report = std::vector<std::uint8_t>;

constexpr std::size_t kReportLength = Protocol::kMaxReportLength;
constexpr std::size_t kPayloadOffset = 2;
constexpr std::size_t kPayloadLength = kReportLength - kPayloadOffset;
constexpr std::size_t kHalfLength = Protocol::kBlockSize / 2;
constexpr std::uint32_t kTrackHeaderLength = 128;
constexpr std::uint8_t kErased = 0xFF;
constexpr std::uint8_t kLoopBit = 0x80;
constexpr std::uint8_t kEraseSectorFlag = 1;
constexpr int kUnterminatedTextReports = 4;

// Replies that have no name of their own carry the code of the command they answer.
constexpr std::uint8_t kAckType = Protocol::CMD_COMMIT_BLOCK;
constexpr std::uint8_t kEeReadType = Protocol::CMD_EE_READ;
constexpr std::uint8_t kTestType = Protocol::CMD_TEST;

// ENOENT, what hidapi reports on Linux for a path that is not there (any longer).
constexpr std::uint32_t kNoSuchDevice = 2;

// Past this many unread reports the oldest are dropped, as a HID driver's ring buffer does, so that a
// long run nobody reads from cannot grow memory without bound.
constexpr std::size_t kInboxLimit = 4096;

// Same vendor-defined page and 8-bit fields as the hardware, with the counts following the lengths a test
// asks for (the report ID byte is not part of the count).
std::vector<std::uint8_t> playerDescriptor(int inputLength, int outputLength)
{
    std::vector<std::uint8_t> d{0x06, 0x00, 0xFF, 0x09, 0x01, 0xA1, 0x01};
    auto addReport = [&d](std::uint8_t id, int length, std::uint8_t mainItem) {
        if (length < 2) {
            return;
        }
        const int count = length - 1;
        d.insert(d.end(), {0x85, id, 0x09, 0x01, 0x15, 0x00, 0x26, 0xFF, 0x00, 0x75, 0x08});
        if (count <= 0xFF) {
            d.insert(d.end(), {0x95, static_cast<std::uint8_t>(count)});
        } else {
            d.insert(d.end(),
                     {0x96, static_cast<std::uint8_t>(count & 0xFF), static_cast<std::uint8_t>(count >> 8)});
        }
        d.insert(d.end(), {mainItem, 0x02});
    };
    addReport(Protocol::kInputReportId, inputLength, 0x81);
    addReport(Protocol::kOutputReportId, outputLength, 0x91);
    d.push_back(0xC0);
    return d;
}

const std::vector<std::uint8_t>& keyboardDescriptor()
{
    static const std::vector<std::uint8_t> d{
        0x05, 0x01, 0x09, 0x06, 0xA1, 0x01, 0x05, 0x07, 0x19, 0xE0, 0x29, 0xE7, 0x15, 0x00, 0x25, 0x01,
        0x75, 0x01, 0x95, 0x08, 0x81, 0x02, 0x95, 0x01, 0x75, 0x08, 0x81, 0x01, 0x95, 0x05, 0x75, 0x01,
        0x05, 0x08, 0x19, 0x01, 0x29, 0x05, 0x91, 0x02, 0x95, 0x01, 0x75, 0x03, 0x91, 0x01, 0x95, 0x06,
        0x75, 0x08, 0x15, 0x00, 0x25, 0x65, 0x05, 0x07, 0x19, 0x00, 0x29, 0x65, 0x81, 0x00, 0xC0};
    return d;
}

Report inputReport(std::uint8_t type)
{
    Report r(kReportLength, 0);
    r[0] = Protocol::kInputReportId;
    r[1] = type;
    return r;
}

Report statusReport(bool playing)
{
    Report r = inputReport(Protocol::REPORT_STATUS);
    r[Protocol::kPlayingFlagByte] = playing ? 1 : 0;
    return r;
}

} // namespace

struct SimulatedPlayer::Core
{
    struct Pending
    {
        Clock::time_point due;
        Report report;
    };

    std::mutex mutex;
    std::condition_variable changed;

    bool destroyed = false;
    bool connected = true;
    bool present = true;
    bool openFails = false;
    std::uint32_t openError = kDefaultOpenError;
    std::uint64_t session = 0;

    std::vector<std::uint8_t> flash = std::vector<std::uint8_t>(Protocol::kMemorySize, kErased);
    std::FILE* image = nullptr;
    std::string text = "Zoffino USB - lettore simulato, 1 MiB";
    bool textUnterminated = false;

    std::array<std::uint8_t, Protocol::kBlockSize> block{};
    int nextHalf = 0;

    bool ackEnabled = true;
    Clock::duration ackDelay{};
    Clock::duration reportTime{};
    Clock::time_point busFree{};
    int writesBeforeFailure = -1;
    int inputLength = static_cast<int>(kReportLength);
    int outputLength = static_cast<int>(kReportLength);

    bool recording = false;
    std::vector<Report> recorded;

    // Ordered by due time; reports due at the same time keep the order they were sent in.
    std::deque<Pending> inbox;

    int waitingReads = 0;

    bool playing = false;
    bool looping = false;
    Clock::time_point playEnd{};

    Core() { block.fill(kErased); }

    bool alive(std::uint64_t s) const { return !destroyed && connected && s == session; }

    void deliver(Report report, Clock::time_point due)
    {
        const auto at = std::upper_bound(inbox.begin(), inbox.end(), due,
                                         [](Clock::time_point t, const Pending& p) { return t < p.due; });
        inbox.insert(at, Pending{due, std::move(report)});
        if (inbox.size() > kInboxLimit) {
            inbox.pop_front();
        }
        changed.notify_all();
    }

    Clock::time_point reserveBus(Clock::time_point earliest)
    {
        busFree = std::max(earliest, busFree) + reportTime;
        return busFree;
    }

    // The device can only start sending once the bus is free; the host sees the report when its
    // transfer has ended.
    void send(Report report, Clock::time_point earliest) { deliver(std::move(report), reserveBus(earliest)); }

    // Playback ends against the clock, not on an event, so whoever looks at the device first turns a
    // due end into its status report.
    void settle(Clock::time_point now)
    {
        if (playing && !looping && now >= playEnd) {
            playing = false;
            send(statusReport(false), playEnd);
        }
    }

    void persist(std::uint32_t offset, std::size_t length)
    {
        if (image == nullptr || length == 0) {
            return;
        }
        if (std::fseek(image, static_cast<long>(offset), SEEK_SET) == 0) {
            std::fwrite(flash.data() + offset, 1, length, image);
            std::fflush(image);
        }
    }

    void closeImage()
    {
        if (image != nullptr) {
            std::fflush(image);
            std::fclose(image);
            image = nullptr;
        }
    }

    void disconnect()
    {
        connected = false;
        ++session;
        playing = false;
        inbox.clear();
        block.fill(kErased);
        nextHalf = 0;
        writesBeforeFailure = -1;
        changed.notify_all();
    }

    std::array<std::uint8_t, 3> config() const
    {
        return {flash[kConfigAddress], flash[kConfigAddress + 1], flash[kConfigAddress + 2]};
    }

    void storeConfig(std::uint8_t c1, std::uint8_t c2, std::uint8_t c3)
    {
        flash[kConfigAddress] = c1;
        flash[kConfigAddress + 1] = c2;
        flash[kConfigAddress + 2] = c3;
        persist(kConfigAddress, 3);
    }

    void execute(std::span<const std::uint8_t> received, Clock::time_point arrival)
    {
        // A short report reads as if padded with zeros, a long one is cut at the report length.
        std::array<std::uint8_t, kReportLength> r{};
        std::copy_n(received.begin(), std::min(received.size(), r.size()), r.begin());
        if (r[0] != Protocol::kOutputReportId) {
            return;
        }
        switch (r[1]) {
        case Protocol::CMD_GET_TEXT:
            sendText(arrival);
            break;
        case Protocol::CMD_GET_CONFIG: {
            Report reply = inputReport(Protocol::REPLY_CONFIG);
            const auto c = config();
            // Firmware version 1.0, then the word the hardware reports as 0x0400.
            reply[2] = 0x01;
            reply[3] = 0x00;
            reply[4] = 0x00;
            reply[5] = 0x04;
            std::copy(c.begin(), c.end(), reply.begin() + 6);
            send(std::move(reply), arrival);
            break;
        }
        case Protocol::CMD_SET_CONFIG:
            storeConfig(r[2], r[3], r[4]);
            if (playing) {
                playing = false;
                send(statusReport(false), arrival);
            }
            break;
        case Protocol::CMD_LOAD_HALF:
            std::copy_n(r.begin() + 2, kHalfLength, block.begin() + nextHalf * kHalfLength);
            nextHalf ^= 1;
            break;
        case Protocol::CMD_COMMIT_BLOCK:
            commit(r, arrival);
            break;
        case Protocol::CMD_EE_READ: {
            Report reply = inputReport(kEeReadType);
            const auto c = config();
            std::copy(c.begin(), c.end(), reply.begin() + 2);
            send(std::move(reply), arrival);
            break;
        }
        case Protocol::CMD_PLAY:
            play(r[2] / 4, arrival);
            break;
        case Protocol::CMD_TEST: {
            Report reply = inputReport(kTestType);
            reply[2] = r[2];
            send(std::move(reply), arrival);
            break;
        }
        default:
            break;
        }
    }

    void sendText(Clock::time_point arrival)
    {
        // Only what a C string would see goes out, so an embedded zero still ends the text.
        const std::string_view visible(text.c_str());
        if (textUnterminated) {
            const std::string_view filler = visible.empty() ? std::string_view("#") : visible;
            std::size_t at = 0;
            for (int i = 0; i < kUnterminatedTextReports; ++i) {
                Report reply = inputReport(Protocol::REPLY_TEXT);
                for (std::size_t k = 0; k < kPayloadLength; ++k, ++at) {
                    reply[kPayloadOffset + k] = static_cast<std::uint8_t>(filler[at % filler.size()]);
                }
                send(std::move(reply), arrival);
            }
            return;
        }
        // One byte more than the text, for the terminating zero the padding supplies.
        for (std::size_t at = 0; at <= visible.size(); at += kPayloadLength) {
            Report reply = inputReport(Protocol::REPLY_TEXT);
            const std::string_view chunk = visible.substr(at, kPayloadLength);
            std::copy(chunk.begin(), chunk.end(), reply.begin() + kPayloadOffset);
            send(std::move(reply), arrival);
        }
    }

    void commit(const std::array<std::uint8_t, kReportLength>& r, Clock::time_point arrival)
    {
        const std::uint32_t address = r[2] | (r[3] << 8) | (r[4] << 16);
        if (address < Protocol::kMemorySize) {
            if (r[5] == kEraseSectorFlag) {
                const std::uint32_t start = address / Protocol::kSectorSize * Protocol::kSectorSize;
                const std::uint32_t end = std::min(start + Protocol::kSectorSize, kConfigAddress);
                std::fill(flash.begin() + start, flash.begin() + end, kErased);
                persist(start, end - start);
            }
            // An unaligned address near the top would run past the flash; the part beyond is lost.
            const std::uint32_t end =
                std::min<std::uint32_t>(address + Protocol::kBlockSize, Protocol::kMemorySize);
            for (std::uint32_t a = address; a < end; ++a) {
                flash[a] &= block[a - address];
            }
            persist(address, end - address);
        }
        block.fill(kErased);
        nextHalf = 0;
        if (!ackEnabled) {
            return;
        }
        Report ack = inputReport(kAckType);
        std::copy_n(r.begin() + 2, 3, ack.begin() + kPayloadOffset);
        if (ackDelay == Clock::duration::zero()) {
            send(std::move(ack), arrival);
        } else {
            // A late ack stands for the device being busy; it must not hold the bus meanwhile, or a
            // long delay would stall the host's writes instead of testing its patience for the ack.
            deliver(std::move(ack), std::max(arrival + ackDelay, busFree) + reportTime);
        }
    }

    // Start and length of the slot that holds a track, after the partition mode in Config2.
    std::pair<std::uint32_t, std::uint32_t> slot(unsigned track) const
    {
        unsigned mode = flash[kConfigAddress + 1] & 0x0F;
        unsigned sector = 0;
        unsigned sectors = Protocol::kSectorCount;
        switch (mode) {
        case 1:
            sector = track != 0 ? 8 : 0;
            sectors = 8;
            break;
        case 2:
            sector = (track & 3) * 4;
            sectors = 4;
            break;
        case 3:
            sector = (track & 7) * 2;
            sectors = 2;
            break;
        default:
            break;
        }
        return {sector * Protocol::kSectorSize, sectors * Protocol::kSectorSize};
    }

    std::uint32_t trackSamples(unsigned track) const
    {
        const auto [start, length] = slot(track);
        const std::uint32_t first = start + kTrackHeaderLength;
        const std::uint32_t limit = start + length - kSettingsAreaSize;
        for (std::uint32_t b = first; b < limit; b += Protocol::kBlockSize) {
            const auto begin = flash.begin() + b;
            if (std::all_of(begin, begin + Protocol::kBlockSize,
                            [](std::uint8_t v) { return v == kErased; })) {
                return b - first;
            }
        }
        return limit - first;
    }

    void play(unsigned track, Clock::time_point arrival)
    {
        const std::uint32_t samples = trackSamples(track);
        send(statusReport(true), arrival);
        if (samples == 0) {
            playing = false;
            send(statusReport(false), arrival);
            return;
        }
        playing = true;
        looping = (flash[kConfigAddress] & kLoopBit) != 0;
        playEnd = arrival + std::chrono::duration_cast<Clock::duration>(std::chrono::nanoseconds(
                                std::int64_t{samples} * 1'000'000'000 / kSampleRate));
    }
};

SimulatedPlayer::SimulatedPlayer() : m_core(std::make_shared<Core>()) {}

SimulatedPlayer::~SimulatedPlayer()
{
    std::lock_guard lock(m_core->mutex);
    m_core->destroyed = true;
    m_core->playing = false;
    m_core->inbox.clear();
    m_core->closeImage();
    m_core->changed.notify_all();
}

std::vector<HidDeviceInfo> SimulatedPlayer::enumerate()
{
    std::lock_guard lock(m_core->mutex);
    std::vector<HidDeviceInfo> list;
    if (!m_core->connected) {
        return list;
    }
    list.push_back({kOtherPath, kOtherVendorId, kOtherProductId});
    if (m_core->present) {
        list.push_back({kPlayerPath, Protocol::kVendorId, Protocol::kProductId});
    }
    return list;
}

std::unique_ptr<HidDevice> SimulatedPlayer::open(const std::string& path)
{
    std::lock_guard lock(m_core->mutex);
    if (m_core->connected && path == kOtherPath) {
        m_lastError = 0;
        return std::make_unique<SimulatedPlayerHandle>(m_core, Port::OtherInterface, 0);
    }
    if (m_core->connected && m_core->present && path == kPlayerPath) {
        if (m_core->openFails) {
            m_lastError = m_core->openError;
            return nullptr;
        }
        m_lastError = 0;
        return std::make_unique<SimulatedPlayerHandle>(m_core, Port::Player, m_core->session);
    }
    m_lastError = kNoSuchDevice;
    return nullptr;
}

std::uint32_t SimulatedPlayer::lastError() const
{
    return m_lastError;
}

void SimulatedPlayer::setText(std::string text)
{
    std::lock_guard lock(m_core->mutex);
    m_core->text = std::move(text);
}

void SimulatedPlayer::setTextUnterminated(bool unterminated)
{
    std::lock_guard lock(m_core->mutex);
    m_core->textUnterminated = unterminated;
}

void SimulatedPlayer::setConfig(std::uint8_t config1, std::uint8_t config2, std::uint8_t config3)
{
    std::lock_guard lock(m_core->mutex);
    m_core->storeConfig(config1, config2, config3);
}

std::array<std::uint8_t, 3> SimulatedPlayer::config() const
{
    std::lock_guard lock(m_core->mutex);
    return m_core->config();
}

std::vector<std::uint8_t> SimulatedPlayer::flash() const
{
    std::lock_guard lock(m_core->mutex);
    return m_core->flash;
}

bool SimulatedPlayer::setFlash(std::span<const std::uint8_t> image)
{
    if (image.size() != Protocol::kMemorySize) {
        return false;
    }
    std::lock_guard lock(m_core->mutex);
    std::copy(image.begin(), image.end(), m_core->flash.begin());
    m_core->persist(0, image.size());
    return true;
}

void SimulatedPlayer::writeFlash(std::uint32_t address, std::span<const std::uint8_t> bytes)
{
    if (address >= Protocol::kMemorySize) {
        return;
    }
    const std::size_t n = std::min<std::size_t>(bytes.size(), Protocol::kMemorySize - address);
    std::lock_guard lock(m_core->mutex);
    std::copy_n(bytes.begin(), n, m_core->flash.begin() + address);
    m_core->persist(address, n);
}

void SimulatedPlayer::fillFlash(std::uint32_t address, std::uint32_t length, std::uint8_t value)
{
    if (address >= Protocol::kMemorySize) {
        return;
    }
    const std::size_t n = std::min<std::size_t>(length, Protocol::kMemorySize - address);
    std::lock_guard lock(m_core->mutex);
    std::fill_n(m_core->flash.begin() + address, n, value);
    m_core->persist(address, n);
}

bool SimulatedPlayer::isPlaying() const
{
    std::lock_guard lock(m_core->mutex);
    m_core->settle(Clock::now());
    return m_core->playing;
}

int SimulatedPlayer::waitingReads() const
{
    std::lock_guard lock(m_core->mutex);
    return m_core->waitingReads;
}

void SimulatedPlayer::setAckEnabled(bool enabled)
{
    std::lock_guard lock(m_core->mutex);
    m_core->ackEnabled = enabled;
}

void SimulatedPlayer::setAckDelay(std::chrono::microseconds delay)
{
    std::lock_guard lock(m_core->mutex);
    m_core->ackDelay = std::max(delay, std::chrono::microseconds::zero());
}

void SimulatedPlayer::setReportTime(std::chrono::microseconds time)
{
    std::lock_guard lock(m_core->mutex);
    m_core->reportTime = std::max(time, std::chrono::microseconds::zero());
}

void SimulatedPlayer::unplug()
{
    std::lock_guard lock(m_core->mutex);
    if (m_core->connected) {
        m_core->disconnect();
    }
}

void SimulatedPlayer::replug()
{
    std::lock_guard lock(m_core->mutex);
    m_core->connected = true;
}

void SimulatedPlayer::failWritesAfter(int count)
{
    std::lock_guard lock(m_core->mutex);
    m_core->writesBeforeFailure = count;
}

void SimulatedPlayer::injectInputReport(std::vector<std::uint8_t> report)
{
    std::lock_guard lock(m_core->mutex);
    if (m_core->connected && !m_core->destroyed) {
        m_core->deliver(std::move(report), Clock::now());
    }
}

void SimulatedPlayer::setPresent(bool present)
{
    std::lock_guard lock(m_core->mutex);
    m_core->present = present;
}

void SimulatedPlayer::setOpenFails(bool fails, std::uint32_t errorCode)
{
    std::lock_guard lock(m_core->mutex);
    m_core->openFails = fails;
    m_core->openError = errorCode;
}

void SimulatedPlayer::setReportLength(int inputLength, int outputLength)
{
    // Beyond this the descriptor's report count would no longer fit its 16-bit item.
    constexpr int kLongest = 0x10000;
    std::lock_guard lock(m_core->mutex);
    m_core->inputLength = std::clamp(inputLength, 0, kLongest);
    m_core->outputLength = std::clamp(outputLength, 0, kLongest);
}

void SimulatedPlayer::recordOutputReports(bool record)
{
    std::lock_guard lock(m_core->mutex);
    m_core->recording = record;
    if (record) {
        m_core->recorded.clear();
    }
}

std::vector<std::vector<std::uint8_t>> SimulatedPlayer::outputReports() const
{
    std::lock_guard lock(m_core->mutex);
    return m_core->recorded;
}

bool SimulatedPlayer::attachImage(const std::string& path, std::string& error)
{
    namespace fs = std::filesystem;
    std::error_code ec;
    const bool exists = fs::exists(path, ec);
    if (ec) {
        error = "Cannot look at " + path + ": " + ec.message();
        return false;
    }
    std::vector<std::uint8_t> contents(Protocol::kMemorySize, kErased);
    std::FILE* file = nullptr;
    if (exists) {
        const auto size = fs::is_regular_file(path, ec) ? fs::file_size(path, ec) : 0;
        if (ec || size != Protocol::kMemorySize) {
            error = path + " is not a flash image: it must be a file of exactly " +
                    std::to_string(Protocol::kMemorySize) + " bytes";
            return false;
        }
        file = std::fopen(path.c_str(), "r+b");
        if (file == nullptr) {
            error = "Cannot open " + path + " for reading and writing";
            return false;
        }
        if (std::fread(contents.data(), 1, contents.size(), file) != contents.size()) {
            std::fclose(file);
            error = "Cannot read " + path;
            return false;
        }
    } else {
        file = std::fopen(path.c_str(), "w+b");
        if (file == nullptr) {
            error = "Cannot create " + path;
            return false;
        }
        if (std::fwrite(contents.data(), 1, contents.size(), file) != contents.size() ||
            std::fflush(file) != 0) {
            std::fclose(file);
            std::remove(path.c_str());
            error = "Cannot write " + path;
            return false;
        }
    }
    std::lock_guard lock(m_core->mutex);
    m_core->closeImage();
    m_core->image = file;
    m_core->flash = std::move(contents);
    return true;
}

int SimulatedPlayer::writeReport(Core& core, Port port, std::uint64_t session,
                                 std::span<const std::uint8_t> report)
{
    Clock::time_point slotEnd;
    {
        std::lock_guard lock(core.mutex);
        // The keyboard has no output report the program could sensibly send.
        if (port != Port::Player || !core.alive(session) || report.empty()) {
            return -1;
        }
        if (core.writesBeforeFailure == 0) {
            core.disconnect();
            return -1;
        }
        if (core.writesBeforeFailure > 0) {
            --core.writesBeforeFailure;
        }
        const auto now = Clock::now();
        core.settle(now);
        slotEnd = core.reserveBus(now);
        if (core.recording) {
            core.recorded.emplace_back(report.begin(), report.end());
        }
        core.execute(report, slotEnd);
    }
    // An absolute deadline, so that the scheduler's overshoot on one report is not added to the next.
    std::this_thread::sleep_until(slotEnd);
    return static_cast<int>(report.size());
}

int SimulatedPlayer::readReport(Core& core, Port port, std::uint64_t session, std::span<std::uint8_t> buffer,
                                int timeoutMs)
{
    std::unique_lock lock(core.mutex);
    const bool forever = timeoutMs < 0;
    const auto deadline = Clock::now() + std::chrono::milliseconds(std::max(timeoutMs, 0));
    for (;;) {
        const bool usable = port == Port::Player ? core.alive(session) : !core.destroyed;
        if (!usable) {
            return -1;
        }
        const auto now = Clock::now();
        auto wake = forever ? Clock::time_point::max() : deadline;
        if (port == Port::Player) {
            core.settle(now);
            if (!core.inbox.empty() && core.inbox.front().due <= now) {
                const Report report = std::move(core.inbox.front().report);
                core.inbox.pop_front();
                const std::size_t n = std::min(report.size(), buffer.size());
                std::copy_n(report.begin(), n, buffer.begin());
                return static_cast<int>(n);
            }
            if (!core.inbox.empty()) {
                wake = std::min(wake, core.inbox.front().due);
            }
            if (core.playing && !core.looping) {
                wake = std::min(wake, core.playEnd);
            }
        }
        if (!forever && now >= deadline) {
            return 0;
        }
        ++core.waitingReads;
        if (wake == Clock::time_point::max()) {
            core.changed.wait(lock);
        } else {
            core.changed.wait_until(lock, wake);
        }
        --core.waitingReads;
    }
}

std::vector<std::uint8_t> SimulatedPlayer::descriptor(Core& core, Port port, std::uint64_t session)
{
    std::lock_guard lock(core.mutex);
    if (port == Port::OtherInterface) {
        return core.destroyed ? std::vector<std::uint8_t>{} : keyboardDescriptor();
    }
    if (!core.alive(session)) {
        return {};
    }
    return playerDescriptor(core.inputLength, core.outputLength);
}
