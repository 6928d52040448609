#include "diag/CapturedViewMenu.h"

#include "widgets/FileDialog.h"
#include "widgets/MessageBox.h"

#include <QClipboard>
#include <QDir>
#include <QGuiApplication>
#include <QMenu>
#include <QSaveFile>
#include <QWidget>

void CapturedViewMenu::attach(QWidget* view, Access access)
{
    // Parented to the view: deleted with it, and never called for a view that is gone.
    new CapturedViewMenu(view, std::move(access));
}

CapturedViewMenu::CapturedViewMenu(QWidget* view, Access access)
    : QObject(view), m_view(view), m_access(std::move(access))
{
    view->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(view, &QWidget::customContextMenuRequested, this, &CapturedViewMenu::show);
}

void CapturedViewMenu::show(const QPoint& at)
{
    QMenu menu(m_view);
    menu.setObjectName(QStringLiteral("capturedViewMenu"));
    const QAction* copy = menu.addAction(tr("Copia"));
    const QAction* save = menu.addAction(tr("Salva in un file di testo..."));
    menu.addSeparator();
    const QAction* clear = menu.addAction(tr("Svuota"));
    const QAction* chosen = menu.exec(m_view->mapToGlobal(at));
    if (chosen == copy) {
        QGuiApplication::clipboard()->setText(m_access.text());
    } else if (chosen == save) {
        const QString path = FileDialog::getSaveFileName(
            m_view->window(), tr("File di testo (*.txt);;Tutti i file (*)"), QStringLiteral("txt"));
        if (path.isEmpty()) {
            return;
        }
        if (const QString failure = CapturedViewMenu::save(path, m_access.all()); !failure.isEmpty()) {
            MessageBox::show(m_view->window(), failure, MessageIcon::Error);
        }
    } else if (chosen == clear) {
        m_access.clear();
    }
}

QString CapturedViewMenu::save(const QString& path, const QString& text)
{
    QSaveFile file(path);
    QByteArray bytes = text.toUtf8();
    if (!bytes.isEmpty() && !bytes.endsWith('\n')) {
        bytes += '\n';
    }
    if (file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.commit()) {
        return {};
    }
    return tr("Impossibile salvare \"%1\": %2. Scegliere un'altra cartella o un altro nome.")
        .arg(QDir::toNativeSeparators(path), file.errorString());
}
