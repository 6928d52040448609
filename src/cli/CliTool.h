#pragma once

#include "download/LoadResult.h"
#include "download/SoundOutput.h"

#include <QCoreApplication>
#include <QStringList>

#include <functional>
#include <memory>

class CPlayerApp;
struct PartRequest;
class QCommandLineParser;

// The command-line tool `zoffino`: the player's information, loading a file into a track slot, playing,
// stopping and setting the configuration, on the same core as the window. It only reads the command line,
// asks and presents: the commands themselves are the core's.
class CliTool
{
    Q_DECLARE_TR_FUNCTIONS(CliTool)

public:
    // Exit codes, as the manual page documents them.
    static constexpr int kDone = 0;
    static constexpr int kFailed = 1;
    static constexpr int kUsage = 2;
    static constexpr int kNoPlayer = 3;
    static constexpr int kRefusedFile = 4;
    // Stopped by Ctrl+C, as a shell reports a program that SIGINT ended.
    static constexpr int kInterrupted = 130;

    // The computer's sound output, made only for a command that plays on it: the program passes the real
    // one (the tool itself holds no sound layer), a test a fake or nothing.
    using SoundOutputFactory = std::function<std::unique_ptr<SoundOutput>()>;

    // arguments: the whole command line, the program's name first.
    static int run(const QStringList& arguments, const SoundOutputFactory& makeSound = {});

private:
    static int list(CPlayerApp& app);
    static int info(CPlayerApp& app);
    static int play(CPlayerApp& app, const QString& track);
    static int config(CPlayerApp& app, const QCommandLineParser& parser);
    static int load(CPlayerApp& app, const QCommandLineParser& parser, const QStringList& files,
                    const PartRequest& part);
    static int loadSet(CPlayerApp& app, const QCommandLineParser& parser, const QStringList& files,
                       const PartRequest& part);
    static int convert(const QCommandLineParser& parser, const QString& file, const QString& target,
                       const PartRequest& part);
    static int preview(const QCommandLineParser& parser, const QString& file, const PartRequest& part,
                       const SoundOutputFactory& makeSound);
    // The exit code of a load or a conversion, after the word an interruption calls for.
    static int loadExit(LoadResult loaded);
};
