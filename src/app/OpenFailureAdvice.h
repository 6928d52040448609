#pragma once

#include <QCoreApplication>
#include <QString>
#include <QStringList>

#include <cstdint>

// What the user is told after the device's own message when the player cannot be opened: what is wrong, in
// the user's language, and the exact steps that put it right.
class OpenFailureAdvice
{
    Q_DECLARE_TR_FUNCTIONS(OpenFailureAdvice)

public:
    // The rule that gives the logged-in user the player's hidraw node (as dist/70-zoffino.rules has it).
    static constexpr const char* kUdevRule =
        R"(KERNEL=="hidraw*", SUBSYSTEMS=="hid", KERNELS=="0003:115F:0230.*", TAG+="uaccess")";

    // The player is there, but this user may not open it.
    static bool isPermission(std::uint32_t code);
    // For a code of DeviceLink::open(): no player at all, no permission, or another reason of the system's.
    static QString forCode(std::uint32_t code);
    // The player named on the command line (--device path) is not one: whether anything is at path, and
    // what to do instead, with the paths of the players there are.
    static QString notAPlayer(const QString& path, bool exists, const QStringList& players);

private:
    // The system's part (one file per system): what connecting a player takes besides plugging it in,
    // and what to do about a player this user may not open.
    static QString connectionSteps();
    static QString permissionAdvice();
    static QString udevSteps();
};
