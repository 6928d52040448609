#pragma once

#include <QStringList>

#include <memory>

class CPlayerApp;
class TerminalUi;

// The command-line tool `zoffino`: the player's information, loading a file into a track slot, playing,
// stopping and setting the configuration, on the same core as the window.
class CliTool
{
public:
    // Exit codes, as the manual page documents them.
    static constexpr int kDone = 0;
    static constexpr int kFailed = 1;
    static constexpr int kUsage = 2;
    static constexpr int kNoPlayer = 3;
    static constexpr int kRefusedFile = 4;

    // arguments: the whole command line, the program's name first.
    static int run(const QStringList& arguments);
};
