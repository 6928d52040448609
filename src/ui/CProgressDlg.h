#pragma once

#include "download/ProgressIndicator.h"

#include <QDialog>
#include <QElapsedTimer>

class QLabel;
class QProgressBar;

// The modeless window that shows how far a download has come. Its creator destroys it when the work is
// done; the Cancel button is enabled only when the creator asks for it.
class CProgressDlg : public QDialog, public ProgressIndicator
{
    Q_OBJECT

public:
    static constexpr int kEnableCancel = 1;

    CProgressDlg();
    ~CProgressDlg() override;

    bool Create(QWidget* parent, const QString& text, int upper, int options);
    void SetPos(int pos) override;
    void SetDetail(const QString& detail) override;
    // Beside the detail line, and only when it changes: a set's bar is the set's, this is the file's.
    void SetItemProgress(int percent) override;
    // Once Annulla, Escape or the close box was pressed (with a Cancel button), or a signal asked the program
    // to end. The window stays up until its creator destroys it, after the block under way.
    bool stopRequested() const override;

    void reject() override;

    QProgressBar* m_ctlProgress = nullptr;
    QString m_strText;
    int m_nOptions = 0;
    int m_nUpper = 0;

private:
    void OnInitDialog();
    void ShowTimeLeft(int pos);
    void ShowDetail();

    QLabel* m_ctlDetail = nullptr;
    QLabel* m_ctlTime = nullptr;
    QElapsedTimer m_started;
    qint64 m_lastTimeShownMs = -1;
    QString m_strDetail;
    int m_nItemPercent = -1;
    bool m_bStopRequested = false;
};
