#include "ui/CPlayerDlg.h"

#include "app/CPlayerApp.h"
#include "res/StringTable.h"
#include "ui/CAboutDlg.h"

#include <QContextMenuEvent>
#include <QLabel>
#include <QMenu>

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

// The window's menu: the players to choose from, when there is a choice, and the About entry.

namespace {

// A player as the menu offers it: its text, then its path, which tells alike players apart.
QString entryText(const CPlayerApp::PlayerEntry& player)
{
    const QString path = QString::fromStdString(player.path);
    if (player.serial.empty()) {
        return CPlayerDlg::tr("%1 (%2)", "a player's text and its path")
            .arg(CPlayerApp::PlayerText(player), path);
    }
    return CPlayerDlg::tr("%1 (%2, numero di serie %3)")
        .arg(CPlayerApp::PlayerText(player), path, QString::fromStdString(player.serial));
}

} // namespace

void CPlayerDlg::OnSysCommand(unsigned id, long)
{
    if ((id & 0xFFF0) == IDM_ABOUTBOX) {
        CAboutDlg about(this);
        about.exec();
    }
}

void CPlayerDlg::ShowPlayer(const std::optional<QString>& text)
{
    // A player in use that does not answer is, to its user, not there.
    m_strDevice = text.value_or(NoPlayerText());
    // Players alike say the same text: the path tells them apart.
    QString tip = QString::fromStdString(m_app.Link().openPath());
    if (m_app.m_nDeviceState <= 0 && m_app.AnyPlayer()) {
        m_strDevice = tr("<Nessun lettore in uso: sceglierne uno dal menu>");
        tip = tr("Fare clic con il tasto destro sulla finestra per scegliere tra i lettori collegati.");
    }
    m_ctlDevice->setToolTip(tip);
}

void CPlayerDlg::contextMenuEvent(QContextMenuEvent* event)
{
    // A modal box opened now would hold up the command under way until it closed, and the player under a
    // download must stay the one in use.
    if (m_app.IsBusy()) {
        return;
    }
    QMenu menu(this);
    menu.setObjectName(QStringLiteral("systemMenu"));
    // The players, when there is one to change to: the one in use checked.
    const std::vector<CPlayerApp::PlayerEntry> players = m_app.Players();
    const bool choice = std::any_of(players.begin(), players.end(),
                                    [](const CPlayerApp::PlayerEntry& player) { return !player.inUse; });
    std::vector<std::pair<QAction*, std::string>> choices;
    if (choice) {
        for (const CPlayerApp::PlayerEntry& player : players) {
            QAction* action = menu.addAction(entryText(player));
            action->setCheckable(true);
            action->setChecked(player.inUse);
            choices.emplace_back(action, player.path);
        }
    }
    // Where the window manager's menu cannot be extended, the About entry lives here and goes the same way.
    const QString about = StringTable::load(IDS_ABOUTBOX);
    QAction* entry = nullptr;
    if (!about.isEmpty()) {
        if (choice) {
            menu.addSeparator();
        }
        entry = menu.addAction(about);
    }
    if (menu.isEmpty()) {
        return;
    }
    if (event->reason() == QContextMenuEvent::Keyboard) {
        // Opened from the keyboard, Return alone should take the entry.
        menu.setActiveAction(entry ? entry : menu.actions().constFirst());
    }
    // The command runs once the menu has closed and let go of the mouse and keyboard.
    QAction* chosen = menu.exec(event->globalPos());
    if (chosen && chosen == entry) {
        OnSysCommand(IDM_ABOUTBOX, 0);
        return;
    }
    for (const auto& [action, path] : choices) {
        if (action == chosen) {
            m_app.UsePlayer(path);
        }
    }
}
