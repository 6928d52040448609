#include "widgets/MessageBox.h"

#include <QApplication>
#include <QMessageBox>

bool MessageBox::s_recording = false;
QStringList MessageBox::s_recorded;

void MessageBox::show(QWidget* parent, const QString& text, MessageIcon icon)
{
    if (s_recording) {
        s_recorded.append(text);
        return;
    }
    QMessageBox box(icon == MessageIcon::Error     ? QMessageBox::Critical
                    : icon == MessageIcon::Warning ? QMessageBox::Warning
                                                   : QMessageBox::Information,
                    QApplication::applicationName(), text, QMessageBox::Ok, parent);
    box.exec();
}

void MessageBox::setRecording(bool recording)
{
    s_recording = recording;
    s_recorded.clear();
}

QStringList MessageBox::takeRecorded()
{
    return std::exchange(s_recorded, QStringList());
}
