#include "app/CPlayerApp.h"

#include "app/AppUi.h"
#include "app/OpenFailureAdvice.h"
#include "device/PlayerClaim.h"

#include <QFileInfo>
#include <QTimer>

#include <algorithm>
#include <cstring>

// The players: which one is used, opening it, the ones plugged in or out while the program runs, and the
// list both programs show.

namespace {

// A node that appears before udev has given it to the user is tried this often, this far apart.
constexpr int kArrivalAttempts = 10;
constexpr std::chrono::milliseconds kArrivalRetry{100};

// What the player says of itself, asked as at start; nothing when it did not answer.
std::optional<QString> textOf(ReportProtocol& protocol)
{
    std::array<std::uint8_t, 256> buffer{};
    if (protocol.QueryDeviceText(Protocol::CMD_GET_TEXT, buffer, 0, 0) != ReportProtocol::TextQuery::Done) {
        return std::nullopt;
    }
    const auto* text = reinterpret_cast<const char*>(buffer.data());
    return QString::fromLatin1(text, static_cast<qsizetype>(strnlen(text, buffer.size())));
}

} // namespace

void CPlayerApp::ReportOpenFailure(std::uint32_t errorCode)
{
    if (!m_pUi) {
        return;
    }
    if (errorCode == DeviceLink::kErrorNotSupported) {
        m_pUi->messageBox(QStringLiteral("Unable to open VxD, device does not support DeviceIOCTL"),
                          MessageIcon::Warning);
        return;
    }
    if (errorCode == DeviceLink::kErrorNotAPlayer) {
        const QString wanted = QString::fromStdString(m_wantedPath);
        // Another device's interface, or any file: something is there, but not a player.
        bool exists = QFileInfo::exists(wanted);
        QStringList players;
        if (HidBackend* backend = m_link.backend()) {
            for (const HidDeviceInfo& info : backend->enumerate()) {
                exists = exists || info.path == m_wantedPath;
            }
            for (const HidDeviceInfo& info : backend->players()) {
                players << QString::fromStdString(info.path);
            }
        }
        m_pUi->messageBox(OpenFailureAdvice::notAPlayer(wanted, exists, players), MessageIcon::Warning);
        return;
    }
    // The device's own message first, then what it means to the user and what to do.
    const QString code = QStringLiteral("Unable to open VxD, Error code: %1").arg(errorCode, 0, 16);
    m_pUi->messageBox(code + QStringLiteral("\n\n") + OpenFailureAdvice::forCode(errorCode),
                      MessageIcon::Warning);
}

void CPlayerApp::ReportPlayerTaken()
{
    if (m_pUi) {
        m_pUi->messageBox(tr("Il lettore %1 è occupato: un altro programma vi sta caricando dei brani.\n"
                             "Riprovare quando avrà finito.")
                              .arg(QString::fromStdString(m_link.openPath())),
                          MessageIcon::Warning);
    }
}

bool CPlayerApp::RefusedAsTaken()
{
    if (!PlayerClaim::taken(m_link.openPath())) {
        return false;
    }
    ReportPlayerTaken();
    return true;
}

int CPlayerApp::OpenDevice()
{
    // The one rule of both programs: the player named, else the first.
    if (const std::uint32_t failure = m_link.open(m_wantedPath); failure != 0) {
        ReportOpenFailure(failure);
        m_nDeviceState = -1;
        return -1;
    }
    m_nDeviceState = 1;
    NotePassedOver();
    return 0;
}

void CPlayerApp::CloseDevice()
{
    m_link.close();
}

void CPlayerApp::NotePassedOver()
{
    const std::string& open = m_link.openPath();
    if (open.empty() || !m_link.backend()) {
        return;
    }
    for (const HidDeviceInfo& info : m_link.backend()->players()) {
        if (info.path != open) {
            m_passedOver.insert(info.path);
        }
    }
}

bool CPlayerApp::UsePlayer(const std::string& path)
{
    if (IsBusy() || !m_link.backend()) {
        return false;
    }
    if (m_nDeviceState > 0 && m_link.openPath() == path) {
        return true;
    }
    CloseDevice();
    m_bPlaying = 0;
    m_wantedPath = path;
    const std::uint32_t failure = m_link.open(path);
    m_nDeviceState = failure == 0 ? 1 : -1;
    if (failure == 0) {
        NotePassedOver();
    } else if (failure != DeviceLink::kErrorNotAPlayer) {
        // A player that went between the list and the choice needs no words: the list no longer has it.
        ReportOpenFailure(failure);
    }
    if (m_pUi) {
        m_pUi->deviceChanged(failure == 0);
    }
    return failure == 0;
}

void CPlayerApp::SetWatcher(std::unique_ptr<DeviceWatcher> watcher)
{
    m_pWatcher = std::move(watcher);
    if (m_pWatcher) {
        QObject::connect(m_pWatcher.get(), &DeviceWatcher::changed, m_pWatcher.get(),
                         [this](const std::vector<std::string>& removed) { OnDevicesChanged(removed); });
    }
}

std::optional<QString> CPlayerApp::DeviceText()
{
    return textOf(m_protocol);
}

std::vector<CPlayerApp::PlayerEntry> CPlayerApp::Players()
{
    std::vector<PlayerEntry> result;
    HidBackend* backend = m_link.backend();
    if (!backend) {
        return result;
    }
    for (const HidDeviceInfo& info : backend->players()) {
        PlayerEntry entry{.path = info.path, .serial = info.serial};
        entry.inUse = !m_link.openPath().empty() && info.path == m_link.openPath();
        entry.taken = PlayerClaim::taken(info.path);
        if (entry.taken) {
            // Not asked: its answer would reach the program loading it as a block's acknowledgement.
            result.push_back(std::move(entry));
            continue;
        }
        if (entry.inUse) {
            entry.text = DeviceText();
        } else {
            // A link of its own for the question, so that the player in use stays as it is.
            UiMessageQueue messages;
            std::atomic<int> playing{0};
            DeviceLink link(messages, playing);
            link.borrowBackend(backend);
            entry.openFailure = link.open(info.path);
            if (entry.openFailure == 0) {
                ReportProtocol protocol(link);
                entry.text = textOf(protocol);
            }
        }
        result.push_back(std::move(entry));
    }
    return result;
}

bool CPlayerApp::AnyPlayer()
{
    return m_link.backend() && !m_link.backend()->players().empty();
}

QString CPlayerApp::PlayerText(const PlayerEntry& entry)
{
    if (entry.text) {
        return *entry.text;
    }
    if (entry.taken) {
        return tr("(occupato: un altro programma vi sta caricando dei brani)");
    }
    return entry.openFailure != 0 ? tr("(non si è potuto aprire)") : tr("(non risponde)");
}

void CPlayerApp::OnDevicesChanged(const std::vector<std::string>& removedPaths)
{
    HidBackend* backend = m_link.backend();
    if (!backend || IsBusy()) {
        return;
    }
    const std::vector<HidDeviceInfo> players = backend->players();
    const auto present = [&players](const std::string& path) {
        return std::any_of(players.begin(), players.end(),
                           [&path](const HidDeviceInfo& info) { return info.path == path; });
    };
    const auto removed = [&removedPaths](const std::string& path) {
        return std::find(removedPaths.begin(), removedPaths.end(), path) != removedPaths.end();
    };
    // A player that went, even one already back under its old path, comes back as a new one.
    std::erase_if(m_passedOver, [&](const std::string& path) { return removed(path) || !present(path); });

    const std::string& open = m_link.openPath();
    // A player replugged quickly may be back under its old path, but the handles held are dead.
    const bool went = m_nDeviceState > 0 && (removed(open) || !present(open));
    if (went) {
        const std::string gone = open;
        CloseDevice();
        m_nDeviceState = -1;
        m_bPlaying = 0;
        m_link.postToDiagnostics({.message = WM_DIAG_WRITE, .lParam = 1, .text = "Device removed: " + gone});
        if (m_pUi) {
            m_pUi->deviceChanged(false);
        }
    }
    if (m_nDeviceState > 0) {
        // Another player plugged in beside the one in use waits until the user chooses it.
        NotePassedOver();
        return;
    }
    // None in use: the player named, or else the first one that was not there beside the one that went.
    std::string candidate;
    if (!m_wantedPath.empty()) {
        if (const std::optional<HidDeviceInfo> named = backend->player(m_wantedPath)) {
            candidate = named->path;
        }
    } else {
        const auto fresh = std::find_if(players.begin(), players.end(), [this](const HidDeviceInfo& info) {
            return !m_passedOver.contains(info.path);
        });
        candidate = fresh != players.end() ? fresh->path : std::string();
    }
    if (!candidate.empty()) {
        OpenArrivedDevice(candidate, kArrivalAttempts);
    } else if (!went && m_pUi) {
        // Players that came or went beside none in use change what the window offers.
        m_pUi->deviceChanged(false);
    }
}

void CPlayerApp::OpenArrivedDevice(const std::string& path, int attemptsLeft)
{
    if (m_nDeviceState > 0 || IsBusy()) {
        return;
    }
    const std::uint32_t failure = m_link.open(path);
    if (failure == 0) {
        m_nDeviceState = 1;
        m_bPlaying = 0;
        NotePassedOver();
        m_link.postToDiagnostics(
            {.message = WM_DIAG_WRITE, .lParam = 1, .text = "Device arrived: " + m_link.openPath()});
        if (m_pUi) {
            m_pUi->deviceChanged(true);
        }
        return;
    }
    // udev may still be giving the new node to the user: worth a few more tries, holding nothing up.
    if (OpenFailureAdvice::isPermission(failure) && attemptsLeft > 1 && m_pWatcher) {
        QTimer::singleShot(kArrivalRetry, m_pWatcher.get(),
                           [this, path, attemptsLeft] { OpenArrivedDevice(path, attemptsLeft - 1); });
    }
}
