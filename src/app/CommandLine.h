#pragma once

#include <QString>
#include <QStringList>

// The program's options. Without any it talks to the real player through hidapi.
struct CommandLine
{
    enum class Device
    {
        Hidapi,
        Simulated,
    };

    Device device = Device::Hidapi;
    // The simulated player's flash image; empty for the one in the user's data folder.
    QString imagePath;
    // Time each report of the simulated player takes on its bus, in microseconds; 0 is an infinitely fast
    // bus, 1000 paces it like full-speed USB.
    int reportTimeUs = 0;
    bool help = false;
    // Set when the arguments cannot be understood.
    QString error;

    // Arguments without the program's own name.
    static CommandLine parse(const QStringList& arguments);
    static QString helpText(const QString& program);
    // Where "--simulate" alone keeps the simulated player's flash.
    static QString defaultImagePath();
};
