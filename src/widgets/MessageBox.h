#pragma once

#include "download/DownloadUi.h"

#include <QCoreApplication>
#include <QList>
#include <QString>
#include <QStringList>

class QWidget;

// The program's message boxes. Tests have them recorded instead of shown, so that no box waits for a click
// that never comes, and give the answers to its questions in advance.
class MessageBox
{
    Q_DECLARE_TR_FUNCTIONS(MessageBox)

public:
    // A modal box with an OK button and the application's name as its caption.
    static void show(QWidget* parent, const QString& text, MessageIcon icon);

    // A question with an accepting button (acceptText) and "Annulla"; with checkText, also a check box whose
    // state comes in and goes out through checked. True when the user accepted.
    static bool ask(QWidget* parent, const QString& text, MessageIcon icon, const QString& acceptText,
                    const QString& checkText = QString(), bool* checked = nullptr);

    // While recording, show() and ask() only keep the text; ask() answers with the next of the answers given
    // (declining when none is left).
    static void setRecording(bool recording);
    static QStringList takeRecorded();
    static void setNextAnswers(const QList<bool>& answers);
    // The window the last box shown or recorded belonged to.
    static QWidget* lastParent() { return s_lastParent; }

private:
    static bool s_recording;
    static QStringList s_recorded;
    static QList<bool> s_answers;
    static QWidget* s_lastParent;
};
