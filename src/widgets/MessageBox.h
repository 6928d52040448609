#pragma once

#include "download/DownloadUi.h"

#include <QString>
#include <QStringList>

class QWidget;

// The program's message boxes. Tests have them recorded instead of shown, so that no box waits for a click
// that never comes.
class MessageBox
{
public:
    // A modal box with an OK button and the application's name as its caption.
    static void show(QWidget* parent, const QString& text, MessageIcon icon);

    // While recording, show() only keeps the text.
    static void setRecording(bool recording);
    static QStringList takeRecorded();

private:
    static bool s_recording;
    static QStringList s_recorded;
};
