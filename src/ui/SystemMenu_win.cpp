#include "ui/SystemMenu.h"

#include <QAbstractNativeEventFilter>
#include <QCoreApplication>
#include <QString>
#include <QWidget>

#include <windows.h>

namespace {

// Hands the entry's WM_SYSCOMMAND to the window's handler; lives as long as the window.
class CommandFilter : public QObject, public QAbstractNativeEventFilter
{
public:
    CommandFilter(QWidget& window, unsigned id, std::function<void(unsigned, long)> onCommand)
        : QObject(&window), m_window(reinterpret_cast<HWND>(window.winId())), m_id(id),
          m_onCommand(std::move(onCommand))
    {
        QCoreApplication::instance()->installNativeEventFilter(this);
    }
    ~CommandFilter() override { QCoreApplication::instance()->removeNativeEventFilter(this); }

    bool nativeEventFilter(const QByteArray&, void* message, qintptr* result) override
    {
        const auto* msg = static_cast<const MSG*>(message);
        if (msg->hwnd != m_window || msg->message != WM_SYSCOMMAND || (msg->wParam & 0xFFF0) != m_id) {
            return false;
        }
        m_onCommand(static_cast<unsigned>(msg->wParam), static_cast<long>(msg->lParam));
        *result = 0;
        return true;
    }

private:
    HWND m_window;
    unsigned m_id;
    std::function<void(unsigned, long)> m_onCommand;
};

} // namespace

bool SystemMenu::addEntry(QWidget& window, unsigned id, const QString& text,
                          const std::function<void(unsigned, long)>& onCommand)
{
    HMENU menu = ::GetSystemMenu(reinterpret_cast<HWND>(window.winId()), FALSE);
    if (!menu || text.isEmpty()) {
        return false;
    }
    ::AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
    ::AppendMenuW(menu, MF_STRING, id, reinterpret_cast<LPCWSTR>(text.utf16()));
    new CommandFilter(window, id, onCommand);
    return true;
}
