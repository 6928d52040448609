#pragma once

#include <QCoreApplication>

#include "app/AppUi.h"

#include <cstdio>

// The command-line tool's user interface: messages on stderr, questions answered on the terminal (or by
// --yes), progress as a bar with the time left on a terminal and as plain lines otherwise.
class TerminalUi : public AppUi
{
    Q_DECLARE_TR_FUNCTIONS(TerminalUi)

public:
    explicit TerminalUi(bool assumeYes, std::FILE* out = stderr);

    void messageBox(const QString& text, MessageIcon icon) override;
    void runMainWindow(CPlayerApp&) override {}
    void deviceChanged(bool) override {}
    std::unique_ptr<ProgressIndicator> createProgress(const QString& text, int upper) override;
    void processEvents() override;
    bool ask(const QString& text, MessageIcon icon, const QString& acceptText, const QString& checkText,
             bool* checked) override;
    bool waitWithProgress(const QString& text, const std::function<double()>& fraction,
                          const std::function<bool()>& finished) override;

    // Whether a question was declined because nobody could answer it (no terminal and no --yes).
    bool unanswered() const { return m_unanswered; }

private:
    bool m_assumeYes;
    bool m_unanswered = false;
    std::FILE* m_out;
};
