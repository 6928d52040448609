#pragma once

#include <QDialog>
#include <QString>

#include <cstddef>
#include <cstdint>
#include <vector>

class CPlayerApp;
class QListWidget;
class QPlainTextEdit;
struct UiMessage;

// The test window: sends fixed reports to the player and shows every report that goes out or comes in,
// with the link's status texts in its log. It answers nothing itself; whatever the player replies arrives
// through the message queue like any other report.
class CDiagnosticsDlg : public QDialog
{
    Q_OBJECT

public:
    explicit CDiagnosticsDlg(CPlayerApp& app, QWidget* parent = nullptr);
    ~CDiagnosticsDlg() override;

    // The main window's "Diagnostica": runs a fresh window modally, unless one is open already.
    static void Open(CPlayerApp& app, QWidget* owner);

    void OnTipo1();
    void OnTipo2();
    void OnTipo8();
    void OnTipo13Test();
    void OnEew();
    void OnEer();
    void OnDiagRead(const UiMessage& message);
    void OnDiagWrite(const UiMessage& message);

    void done(int result) override;

    QListWidget* m_ctlLog = nullptr;
    // Kept with "\r\n" line breaks; the view gets "\n" ones, which is what a plain text edit understands.
    QString m_strSent;
    QString m_strReceived;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void OnInitDialog();
    // Copy, save and clear on the log and the byte views.
    void AttachMenus();
    void OnMessage(UiMessage& message);
    void Unregister();
    void ScrollReceivedFromTop(int lines);
    void AddLogLine(const QString& line);
    static QString Dump(const std::vector<std::uint8_t>& bytes, std::size_t length);

    CPlayerApp& m_app;
    QPlainTextEdit* m_ctlSent = nullptr;
    QPlainTextEdit* m_ctlReceived = nullptr;
    bool m_bRegistered = false;
};
