#include "sim/FlashImage.h"
#include "uhid/GadgetTransport.h"
#include "uhid/UhidDevice.h"
#include "uhid/UhidTransport.h"
#include "uhid/VirtualPlayer.h"
#include "uhid/VirtualPlayerOptions.h"

#include <QCoreApplication>
#include <QStandardPaths>

#include <sys/signalfd.h>
#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace {

constexpr int kExitUsage = 2;

// The image ZoffinoUSB --simulate uses, so that a track loaded into one player is there in the other.
std::string defaultImagePath()
{
    QCoreApplication::setOrganizationName(QStringLiteral("Quenmark Audio"));
    // The program's name, not this one's: it is part of the folder.
    QCoreApplication::setApplicationName(QStringLiteral("ZoffinoUSB"));
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    // Without a home there is no data folder, and the image must not land wherever "" leads.
    return folder.isEmpty() ? std::string()
                            : (folder + QStringLiteral("/simulated-player.img")).toStdString();
}

} // namespace

int main(int argc, char* argv[])
{
    const std::string program = std::filesystem::path(argc > 0 ? argv[0] : "zoffino-uhid-player").filename();
    const VirtualPlayerOptions options =
        VirtualPlayerOptions::parse(std::vector<std::string>(argv + std::min(argc, 1), argv + argc));
    if (options.help) {
        std::fputs(VirtualPlayerOptions::helpText(program).c_str(), stdout);
        return 0;
    }
    if (!options.error.empty()) {
        std::fprintf(stderr, "%s\n%s", options.error.c_str(),
                     VirtualPlayerOptions::helpText(program).c_str());
        return kExitUsage;
    }

    // The stop signals are taken as events from here on, so that one arriving at any moment ends the run
    // through the same path, with the device taken off the bus.
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGTERM);
    sigaddset(&stopSignals, SIGINT);
    sigaddset(&stopSignals, SIGHUP);
    if (sigprocmask(SIG_BLOCK, &stopSignals, nullptr) != 0) {
        std::fprintf(stderr, "%s: cannot take over the stop signals: %s\n", program.c_str(),
                     std::strerror(errno));
        return VirtualPlayer::kExitFailed;
    }
    const int signalFd = signalfd(-1, &stopSignals, SFD_CLOEXEC);
    if (signalFd < 0) {
        std::fprintf(stderr, "%s: cannot take over the stop signals: %s\n", program.c_str(),
                     std::strerror(errno));
        return VirtualPlayer::kExitFailed;
    }
    // Whoever reads the "ready" lines may go away first; that must not end the player mid-report.
    std::signal(SIGPIPE, SIG_IGN);

    // Before the image: a machine where the player cannot be should not be left with a new image file.
    std::string error;
    std::unique_ptr<PlayerTransport> transport;
    if (options.transport == VirtualPlayerOptions::Transport::Gadget) {
        transport = GadgetTransport::open(options.controller, error);
    } else if (std::unique_ptr<UhidDevice> device = UhidDevice::open(UhidDevice::kPath, error)) {
        transport = std::make_unique<UhidTransport>(std::move(device));
    }
    if (!transport) {
        std::fprintf(stderr, "%s: %s\n", program.c_str(), error.c_str());
        return VirtualPlayer::kExitFailed;
    }

    const std::string imagePath = options.imagePath.empty() ? defaultImagePath() : options.imagePath;
    if (imagePath.empty()) {
        std::fprintf(stderr, "%s: this user has no data folder for the flash image: give --image FILE\n",
                     program.c_str());
        return VirtualPlayer::kExitFailed;
    }
    if (options.imagePath.empty()) {
        std::error_code ignored;
        std::filesystem::create_directories(std::filesystem::path(imagePath).parent_path(), ignored);
    }
    std::optional<FlashImage> flash = FlashImage::open(imagePath, error);
    if (!flash) {
        std::fprintf(stderr, "%s: cannot use %s as the player's flash: %s\n", program.c_str(),
                     imagePath.c_str(), error.c_str());
        return VirtualPlayer::kExitFailed;
    }

    VirtualPlayer player(*transport, *flash, options);
    const int result = player.run(signalFd);
    ::close(signalFd);
    return result;
}
