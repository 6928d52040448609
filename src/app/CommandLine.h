#pragma once

#include <QCoreApplication>
#include <QString>
#include <QStringList>

#include <memory>

class HidBackend;
class QCommandLineParser;

// The program's options. Without any it talks to the real player through hidapi.
struct CommandLine
{
    enum class Device
    {
        Hidapi,
        Simulated,
    };

    Device device = Device::Hidapi;
    // The simulated player's flash image; "--simulate" alone gives defaultImagePath().
    QString imagePath;
    // Time each report of the simulated player takes on its bus, in microseconds; 0 is an infinitely fast
    // bus, 1000 paces it like full-speed USB.
    int reportTimeUs = 0;
    // The player to use (--device PATH); empty for the first there is.
    QString devicePath;
    bool help = false;
    bool version = false;
    // Set when the arguments cannot be understood.
    QString error;

    // Arguments without the program's own name. Needs no application object, so that help works without
    // a display.
    static CommandLine parse(const QStringList& arguments);
    // Needs an application object: the usage line names the program as it was started.
    static QString helpText();
    static QString programVersion();
    // Where "--simulate" alone keeps the simulated player's flash: the same file for ZoffinoUSB, zoffino and
    // zoffino-uhid-player, so a track loaded through one is there for the others. Empty without a home.
    static QString defaultImagePath();

    // -h/--help and -v/--version, with texts in the program's language.
    static void addStandardOptions(QCommandLineParser& parser);
    // The options the window and the command-line tool share: --simulate[=FILE], --report-time=US and
    // --device=PATH; deviceOptionNames() names them.
    static void addDeviceOptions(QCommandLineParser& parser);
    static QStringList deviceOptionNames();
    // "--simulate" alone stands for the default image: a parser's option has a value or none, never both.
    static QStringList withDefaultImage(const QStringList& arguments);
    // Reads the device options of a parsed parser into this one; sets error when they make no sense.
    void readDeviceOptions(const QCommandLineParser& parser);
    // The player these options name: the simulated one on its image, or the real one through hidapi. Null,
    // with failure set to a message for the user, when the image cannot be used. A simulated player whose
    // image may only be read shows and plays what it holds; readOnly then gets what to tell a user who
    // wants to change it.
    std::unique_ptr<HidBackend> openBackend(QString& failure, QString* readOnly = nullptr) const;

    // Last: the macro leaves what follows it private.
    Q_DECLARE_TR_FUNCTIONS(CommandLine)
};
