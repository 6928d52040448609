#pragma once

#include "download/ProgressIndicator.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QString>

#include <csignal>
#include <cstdio>

// A progress line: on a terminal a bar redrawn in place with the percentage and the time left, otherwise a
// plain line every tenth of the way, so that a log stays readable.
class TerminalProgress : public ProgressIndicator
{
    Q_DECLARE_TR_FUNCTIONS(TerminalProgress)

public:
    TerminalProgress(std::FILE* out, const QString& text, int upper);
    ~TerminalProgress() override;

    void SetPos(int pos) override;
    void SetDetail(const QString& detail) override;
    bool stopRequested() const override;

    // Set from the SIGINT handler: the only thing it touches.
    static volatile std::sig_atomic_t s_interrupted;

private:
    void draw(int pos);

    std::FILE* m_out;
    QString m_text;
    int m_upper;
    bool m_terminal;
    int m_lastTenth = -1;
    qint64 m_lastDrawMs = -1;
    QElapsedTimer m_started;
};
