#include "widgets/FileDialog.h"

#include <QFileDialog>

bool FileDialog::s_hasNext = false;
QString FileDialog::s_next;

QString FileDialog::getOpenFileName(QWidget* parent, const QString& filter, const QString& defaultSuffix)
{
    if (s_hasNext) {
        s_hasNext = false;
        return std::exchange(s_next, QString());
    }
    QFileDialog dialog(parent, QString(), QString(), filter);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setDefaultSuffix(defaultSuffix);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return {};
    }
    return dialog.selectedFiles().constFirst();
}

QString FileDialog::getSaveFileName(QWidget* parent, const QString& filter, const QString& defaultSuffix)
{
    if (s_hasNext) {
        s_hasNext = false;
        return std::exchange(s_next, QString());
    }
    QFileDialog dialog(parent, QString(), QString(), filter);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setDefaultSuffix(defaultSuffix);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return {};
    }
    return dialog.selectedFiles().constFirst();
}

void FileDialog::setNextFileName(const QString& path)
{
    s_hasNext = true;
    s_next = path;
}
