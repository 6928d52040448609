#include "cli/TerminalUi.h"

#include "cli/TerminalProgress.h"

#include <QCoreApplication>
#include <QThread>

#include <cstdio>
#include <string>

#include <unistd.h>

TerminalUi::TerminalUi(bool assumeYes, std::FILE* out) : m_assumeYes(assumeYes), m_out(out) {}

void TerminalUi::messageBox(const QString& text, MessageIcon)
{
    std::fprintf(m_out, "%s\n", qPrintable(text));
}

std::unique_ptr<ProgressIndicator> TerminalUi::createProgress(const QString& text, int upper)
{
    return std::make_unique<TerminalProgress>(m_out, text, upper);
}

void TerminalUi::processEvents()
{
    QCoreApplication::processEvents();
}

bool TerminalUi::ask(const QString& text, MessageIcon, const QString& acceptText, const QString& checkText,
                     bool* checked)
{
    // Ctrl+C at a question, or before it, declines it and everything after it.
    if (TerminalProgress::s_interrupted != 0) {
        return false;
    }
    std::fprintf(m_out, "%s\n", qPrintable(text));
    if (m_assumeYes) {
        // --yes takes the offered choice as it stands, check box included.
        std::fprintf(m_out, "%s\n", qPrintable(tr("%1: sì (--yes)").arg(acceptText)));
        return true;
    }
    if (::isatty(STDIN_FILENO) == 0) {
        m_unanswered = true;
        std::fprintf(
            m_out, "%s\n",
            qPrintable(tr("Nessuna risposta possibile senza terminale: usare --yes per accettare.")));
        return false;
    }
    std::fprintf(m_out, "%s ", qPrintable(tr("%1? [s/N]").arg(acceptText)));
    std::fflush(m_out);
    std::string line;
    for (int c = std::getchar(); c != EOF && c != '\n'; c = std::getchar()) {
        line += static_cast<char>(c);
    }
    const bool yes = !line.empty() && (line[0] == 's' || line[0] == 'S' || line[0] == 'y' || line[0] == 'Y');
    if (yes && checked && !checkText.isEmpty()) {
        std::fprintf(m_out, "%s ", qPrintable(tr("%1? [S/n]").arg(checkText)));
        std::fflush(m_out);
        line.clear();
        for (int c = std::getchar(); c != EOF && c != '\n'; c = std::getchar()) {
            line += static_cast<char>(c);
        }
        *checked = line.empty() || line[0] == 's' || line[0] == 'S' || line[0] == 'y' || line[0] == 'Y';
    }
    return yes && TerminalProgress::s_interrupted == 0;
}

bool TerminalUi::waitWithProgress(const QString& text, const std::function<double()>& fraction,
                                  const std::function<bool()>& finished)
{
    constexpr int kSteps = 1000;
    TerminalProgress progress(m_out, text, kSteps);
    while (!finished()) {
        // Ctrl+C before anything was sent: the work is dropped and nothing goes to the player.
        if (progress.stopRequested()) {
            return false;
        }
        progress.SetPos(static_cast<int>(fraction() * kSteps));
        QCoreApplication::processEvents();
        QThread::msleep(30);
    }
    progress.SetPos(kSteps);
    return true;
}
