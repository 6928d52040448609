#include "cli/TerminalProgress.h"

#include "download/Durations.h"

#include <algorithm>

#include <unistd.h>

volatile std::sig_atomic_t TerminalProgress::s_interrupted = 0;

bool TerminalProgress::stopRequested() const
{
    return s_interrupted != 0;
}

TerminalProgress::TerminalProgress(std::FILE* out, const QString& text, int upper)
    : m_out(out), m_text(text), m_upper(std::max(upper, 1)), m_terminal(::isatty(::fileno(out)) != 0)
{
    m_started.start();
    std::fprintf(m_out, "%s\n", qPrintable(m_text));
    draw(0);
}

TerminalProgress::~TerminalProgress()
{
    if (m_terminal) {
        std::fputc('\n', m_out);
    }
    std::fflush(m_out);
}

void TerminalProgress::SetDetail(const QString& detail)
{
    std::fprintf(m_out, "%s%s\n", m_terminal ? "\r\033[K" : "", qPrintable(detail));
}

void TerminalProgress::SetPos(int pos)
{
    draw(std::clamp(pos, 0, m_upper));
}

void TerminalProgress::draw(int pos)
{
    const int percent = static_cast<int>(static_cast<qint64>(pos) * 100 / m_upper);
    const qint64 elapsed = m_started.elapsed();
    if (!m_terminal) {
        // A line each tenth: enough to follow, few enough for a log.
        if (percent / 10 != m_lastTenth) {
            m_lastTenth = percent / 10;
            std::fprintf(m_out, "%d%%\n", percent);
        }
        return;
    }
    // Ten redraws a second are as many as an eye can follow; more would cost the download time.
    if (pos != m_upper && pos != 0 && elapsed - m_lastDrawMs < 100) {
        return;
    }
    m_lastDrawMs = elapsed;
    constexpr int kWidth = 30;
    const int filled = percent * kWidth / 100;
    QString left;
    if (pos > 0 && elapsed >= 1000 && pos < m_upper) {
        const qint64 seconds = (elapsed * (m_upper - pos) / pos + 999) / 1000;
        left = tr("  tempo rimanente %1").arg(Durations::clock(seconds));
    }
    std::fprintf(m_out, "\r\033[K[%s%s] %3d%%%s", std::string(static_cast<std::size_t>(filled), '#').c_str(),
                 std::string(static_cast<std::size_t>(kWidth - filled), ' ').c_str(), percent,
                 qPrintable(left));
    std::fflush(m_out);
}
