#pragma once

#include <QObject>
#include <QString>

#include <functional>

class QWidget;

// The context menu of a view of captured data in the diagnostics window: copy what it shows (or the
// selection), save it to a text file, clear it. The data stays the view's owner's; the menu only asks.
class CapturedViewMenu : public QObject
{
    Q_OBJECT

public:
    struct Access
    {
        // The selection when there is one, otherwise everything, as text.
        std::function<QString()> text;
        std::function<QString()> all;
        std::function<void()> clear;
    };

    // Gives view the menu; it lives as long as the view.
    static void attach(QWidget* view, Access access);

    // Writes text to path in one piece (a failed save leaves an earlier file as it was); a
    // message naming the file when it fails, empty when it worked.
    static QString save(const QString& path, const QString& text);

private:
    CapturedViewMenu(QWidget* view, Access access);
    void show(const QPoint& at);

    QWidget* m_view;
    Access m_access;
};
