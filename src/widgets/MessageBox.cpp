#include "widgets/MessageBox.h"

#include <QApplication>
#include <QCheckBox>
#include <QMessageBox>
#include <QPushButton>

bool MessageBox::s_recording = false;
QStringList MessageBox::s_recorded;
QList<bool> MessageBox::s_answers;
QWidget* MessageBox::s_lastParent = nullptr;

namespace {

QMessageBox::Icon iconOf(MessageIcon icon)
{
    switch (icon) {
    case MessageIcon::Error:
        return QMessageBox::Critical;
    case MessageIcon::Warning:
        return QMessageBox::Warning;
    case MessageIcon::Question:
        return QMessageBox::Question;
    case MessageIcon::Information:
        break;
    }
    return QMessageBox::Information;
}

} // namespace

void MessageBox::show(QWidget* parent, const QString& text, MessageIcon icon)
{
    s_lastParent = parent;
    if (s_recording) {
        s_recorded.append(text);
        return;
    }
    QMessageBox box(iconOf(icon), QApplication::applicationName(), text, QMessageBox::Ok, parent);
    box.exec();
}

bool MessageBox::ask(QWidget* parent, const QString& text, MessageIcon icon, const QString& acceptText,
                     const QString& checkText, bool* checked)
{
    s_lastParent = parent;
    if (s_recording) {
        s_recorded.append(text);
        return !s_answers.isEmpty() && s_answers.takeFirst();
    }
    QMessageBox box(iconOf(icon), QApplication::applicationName(), text, QMessageBox::NoButton, parent);
    QPushButton* accept = box.addButton(acceptText, QMessageBox::AcceptRole);
    box.addButton(tr("Annulla"), QMessageBox::RejectRole);
    box.setDefaultButton(accept);
    if (!checkText.isEmpty() && checked) {
        auto* check = new QCheckBox(checkText, &box);
        check->setChecked(*checked);
        // The box takes the check box over and deletes it with itself.
        box.setCheckBox(check);
    }
    box.exec();
    if (checked && box.checkBox()) {
        *checked = box.checkBox()->isChecked();
    }
    return box.clickedButton() == accept;
}

void MessageBox::setRecording(bool recording)
{
    s_recording = recording;
    s_recorded.clear();
    s_answers.clear();
}

QStringList MessageBox::takeRecorded()
{
    return std::exchange(s_recorded, QStringList());
}

void MessageBox::setNextAnswers(const QList<bool>& answers)
{
    s_answers = answers;
}
