#pragma once

#include <QString>
#include <QStringList>

class QWidget;

// The open-file dialog. Tests give the answer in advance instead of clicking through a real one.
class FileDialog
{
public:
    // The chosen file's full path; empty when the user cancelled.
    static QString getOpenFileName(QWidget* parent, const QString& filter, const QString& defaultSuffix);

    // The chosen files' full paths, one or several; empty when the user cancelled.
    static QStringList getOpenFileNames(QWidget* parent, const QString& filter, const QString& defaultSuffix);

    // Where to save a new file; asks before replacing one. Empty when the user cancelled.
    static QString getSaveFileName(QWidget* parent, const QString& filter, const QString& defaultSuffix);

    // The next call returns this path (an empty one: the user cancels) without showing anything.
    static void setNextFileName(const QString& path);
    // The next call returns these paths (the first of them where one path is asked for).
    static void setNextFileNames(const QStringList& paths);

private:
    static bool s_hasNext;
    static QStringList s_next;
};
