#pragma once

#include <functional>

class QString;
class QWidget;

// The window manager's menu of a window (its system menu), where a program may add entries of its own. One
// file per platform implements it: on Windows the entry goes into the real system menu; where a window
// manager's menu cannot be extended, nothing is added and the window offers the entry in its context menu.
namespace SystemMenu {

// Adds an entry with text and command id to window's system menu; chosen, it calls onCommand with the id
// and the command's parameter. False where the platform has no such menu.
bool addEntry(QWidget& window, unsigned id, const QString& text,
              const std::function<void(unsigned, long)>& onCommand);

} // namespace SystemMenu
