#pragma once

#include <QString>

#include <optional>

class QCommandLineParser;

// What the tool's commands share in reading their options and ending.
namespace CliCommon {

// The text on stderr with a pointer to the help; the exit code of a usage error.
int usage(const QString& text);
// The partition mode a --partition value names, or nothing.
std::optional<int> partitionOption(const QCommandLineParser& parser);
// Ctrl+C, SIGTERM or SIGHUP has come.
bool interrupted();

} // namespace CliCommon
