#include "ui/CProgressDlg.h"

#include "download/Durations.h"
#include "res/DialogTemplate.h"
#include "ui/StopSignal.h"
#include "widgets/DialogBuilder.h"

#include <QGuiApplication>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>

#include <algorithm>
#include <cstdlib>

CProgressDlg::CProgressDlg() = default;

CProgressDlg::~CProgressDlg() = default;

bool CProgressDlg::Create(QWidget* parent, const QString& text, int upper, int options)
{
    m_strText = text;
    m_nUpper = upper;
    m_nOptions = options;
    if (parent) {
        setParent(parent, windowFlags() | Qt::Dialog);
    }
    DialogBuilder::build(*this, DialogTemplate::get(IDD_PROGRESS));
    m_ctlProgress = DialogBuilder::control<QProgressBar>(*this, IDC_PROGRESS);
    m_ctlDetail = DialogBuilder::control<QLabel>(*this, IDC_PROGRESS_DETAIL);
    m_ctlTime = DialogBuilder::control<QLabel>(*this, IDC_PROGRESS_TIME);
    OnInitDialog();

    QScreen* screen = parent ? parent->screen() : QGuiApplication::primaryScreen();
    if (screen) {
        QRect frame = frameGeometry();
        frame.moveCenter(screen->availableGeometry().center());
        move(frame.topLeft());
    }
    show();
    return m_ctlProgress != nullptr;
}

void CProgressDlg::OnInitDialog()
{
    setWindowTitle(m_strText);
    if (m_nOptions & kEnableCancel) {
        DialogBuilder::control<QPushButton>(*this, IDCANCEL)->setEnabled(true);
    }
    m_ctlProgress->setRange(0, m_nUpper);
    m_ctlProgress->setValue(0);
    m_ctlProgress->setTextVisible(true);
    m_ctlProgress->setFormat(QStringLiteral("%p%"));
    m_ctlProgress->setAccessibleName(m_strText);
    m_ctlTime->setAccessibleName(tr("Tempo rimanente"));
    m_started.start();
}

void CProgressDlg::SetDetail(const QString& detail)
{
    m_strDetail = detail;
    ShowDetail();
}

void CProgressDlg::SetItemProgress(int percent)
{
    if (percent == m_nItemPercent) {
        return;
    }
    m_nItemPercent = percent;
    ShowDetail();
}

void CProgressDlg::ShowDetail()
{
    const QString line =
        m_nItemPercent < 0 ? m_strDetail : tr("%1 — %2%").arg(m_strDetail).arg(m_nItemPercent);
    // A long file name would run past the window's edge: it gives way in the middle, where the line's start
    // (which file) and end (which track, how far) stay readable. The whole line is its tooltip.
    const QString shown =
        m_ctlDetail->fontMetrics().elidedText(line, Qt::ElideMiddle, m_ctlDetail->contentsRect().width());
    m_ctlDetail->setText(shown);
    m_ctlDetail->setToolTip(shown == line ? QString() : line);
    m_ctlProgress->setAccessibleDescription(line);
}

void CProgressDlg::ShowTimeLeft(int pos)
{
    // An estimate from the first second would swing with the start-up; after that, twice a second is
    // as often as anyone can read it.
    constexpr qint64 kFirstEstimateMs = 1000;
    constexpr qint64 kRefreshMs = 500;
    const qint64 elapsed = m_started.elapsed();
    if (pos <= 0 || elapsed < kFirstEstimateMs || elapsed - m_lastTimeShownMs < kRefreshMs) {
        return;
    }
    m_lastTimeShownMs = elapsed;
    const qint64 leftMs = elapsed * (m_nUpper - pos) / pos;
    const qint64 seconds = (leftMs + 999) / 1000;
    m_ctlTime->setText(tr("Tempo rimanente: %1").arg(Durations::clock(seconds)));
}

void CProgressDlg::SetPos(int pos)
{
    // The last block of a full slot ends one past the range; it shows as a full bar.
    const int shown = std::clamp(pos, 0, std::max(m_nUpper, 0));
    // The bar recomputes its text and repaints itself on every change of its value, which would cost more
    // than a block write; a change that does not move it by a pixel waits for one that does.
    const qint64 moved =
        static_cast<qint64>(std::abs(shown - m_ctlProgress->value())) * m_ctlProgress->width();
    if (moved >= m_nUpper || shown == m_nUpper || shown == 0) {
        m_ctlProgress->setValue(shown);
    }
    ShowTimeLeft(shown);
}

bool CProgressDlg::stopRequested() const
{
    return m_bStopRequested || StopSignal::requested();
}

void CProgressDlg::reject()
{
    // Escape and the close box would only hide the window while the work goes on. Without a Cancel button
    // to offer, the window stays; with one, the work is asked to stop and the window stays until it has,
    // its button taken so that the request shows.
    if (!(m_nOptions & kEnableCancel) || m_bStopRequested) {
        return;
    }
    m_bStopRequested = true;
    DialogBuilder::control<QPushButton>(*this, IDCANCEL)->setEnabled(false);
    emit rejected();
}
