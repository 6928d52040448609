// What a file manager does when files are dragged out of it, for the desktop checks: a window that, pressed
// with the mouse, drags the files named on its command line as text/uri-list over XDND, and says on stdout
// when the drag began, whether the target under the pointer would take the files ("accepted"), and how it
// ended ("dropped" when the target took them).
#include <QApplication>
#include <QDrag>
#include <QLabel>
#include <QMimeData>
#include <QUrl>

#include <cstdio>

namespace {

class DragSource : public QLabel
{
public:
    explicit DragSource(QList<QUrl> urls) : m_urls(std::move(urls)) {}

protected:
    void mousePressEvent(QMouseEvent*) override
    {
        auto* data = new QMimeData;
        data->setUrls(m_urls);
        // On the heap, as Qt wants it: the target asks for the files after the drop, and Qt keeps the drag,
        // and deletes it, until it has answered.
        auto* drag = new QDrag(this);
        drag->setMimeData(data);
        // The target's answer to where the pointer is: the drop may only be let go once it takes the files.
        connect(drag, &QDrag::actionChanged, this, [](Qt::DropAction action) {
            std::puts(action == Qt::CopyAction ? "accepted" : "not accepted");
            std::fflush(stdout);
        });
        std::puts("started");
        std::fflush(stdout);
        const Qt::DropAction action = drag->exec(Qt::CopyAction);
        std::puts(action == Qt::CopyAction ? "dropped" : "refused");
        std::fflush(stdout);
    }

private:
    QList<QUrl> m_urls;
};

} // namespace

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    QList<QUrl> urls;
    for (const QString& path : QApplication::arguments().mid(1)) {
        urls << QUrl::fromLocalFile(path);
    }
    DragSource source(urls);
    source.setWindowTitle(QStringLiteral("drag source"));
    source.setText(QStringLiteral("%1 files").arg(urls.size()));
    source.setAlignment(Qt::AlignCenter);
    source.resize(160, 80);
    source.move(10, 10);
    source.show();
    return QApplication::exec();
}
