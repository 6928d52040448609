#include "widgets/FileDialog.h"

#include <QFileDialog>

bool FileDialog::s_hasNext = false;
QStringList FileDialog::s_next;

namespace {

QStringList chosen(QWidget* parent, const QString& filter, const QString& defaultSuffix,
                   QFileDialog::AcceptMode accept, QFileDialog::FileMode mode)
{
    QFileDialog dialog(parent, QString(), QString(), filter);
    dialog.setAcceptMode(accept);
    dialog.setFileMode(mode);
    dialog.setDefaultSuffix(defaultSuffix);
    if (dialog.exec() != QDialog::Accepted) {
        return {};
    }
    return dialog.selectedFiles();
}

} // namespace

QString FileDialog::getOpenFileName(QWidget* parent, const QString& filter, const QString& defaultSuffix)
{
    if (s_hasNext) {
        s_hasNext = false;
        return std::exchange(s_next, QStringList()).value(0);
    }
    return chosen(parent, filter, defaultSuffix, QFileDialog::AcceptOpen, QFileDialog::ExistingFile).value(0);
}

QStringList FileDialog::getOpenFileNames(QWidget* parent, const QString& filter, const QString& defaultSuffix)
{
    if (s_hasNext) {
        s_hasNext = false;
        return std::exchange(s_next, QStringList());
    }
    return chosen(parent, filter, defaultSuffix, QFileDialog::AcceptOpen, QFileDialog::ExistingFiles);
}

QString FileDialog::getSaveFileName(QWidget* parent, const QString& filter, const QString& defaultSuffix)
{
    if (s_hasNext) {
        s_hasNext = false;
        return std::exchange(s_next, QStringList()).value(0);
    }
    return chosen(parent, filter, defaultSuffix, QFileDialog::AcceptSave, QFileDialog::AnyFile).value(0);
}

void FileDialog::setNextFileName(const QString& path)
{
    setNextFileNames(path.isEmpty() ? QStringList() : QStringList{path});
}

void FileDialog::setNextFileNames(const QStringList& paths)
{
    s_hasNext = true;
    s_next = paths;
}
