#pragma once

#include <QDir>
#include <QString>

#include <optional>

// The program's temporary files and folders (a converted track, a sound file's samples): named
// zoffino-<pid>-XXXXXX in the system's temporary folder, so that what a killed process left behind is known
// as ours, and whether its owner still runs can be asked.
namespace TempFiles {

// The template for a QTemporaryFile or QTemporaryDir of this process.
QString nameTemplate(const QString& folder = QDir::tempPath());

// The process that named an entry of the temporary folder; nullopt for a name not of ours.
std::optional<qint64> ownerOf(const QString& fileName);

// Removes from folder what processes of this user left there and that are gone: a file, or a folder with
// everything in it. Entries of a running process, another user's and links are left alone, and nothing
// outside folder is touched. How many entries went.
int removeLeftovers(const QString& folder = QDir::tempPath());

// One file per system: whether path is a file or folder itself (no link) of this user, and owner a process
// that no longer exists. False wherever the system cannot tell.
bool leftBehind(const QString& path, qint64 owner);

} // namespace TempFiles
