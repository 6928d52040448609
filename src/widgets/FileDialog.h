#pragma once

#include <QString>

class QWidget;

// The open-file dialog. Tests give the answer in advance instead of clicking through a real one.
class FileDialog
{
public:
    // The chosen file's full path; empty when the user cancelled.
    static QString getOpenFileName(QWidget* parent, const QString& filter, const QString& defaultSuffix);

    // Where to save a new file; asks before replacing one. Empty when the user cancelled.
    static QString getSaveFileName(QWidget* parent, const QString& filter, const QString& defaultSuffix);

    // The next call returns this path (an empty one: the user cancels) without showing anything.
    static void setNextFileName(const QString& path);

private:
    static bool s_hasNext;
    static QString s_next;
};
