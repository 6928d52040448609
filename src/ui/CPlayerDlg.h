#pragma once

#include <QDialog>
#include <QString>

class CPlayerApp;
class QLabel;
struct UiMessage;

// The program's main window.
class CPlayerDlg : public QDialog
{
    Q_OBJECT

public:
    explicit CPlayerDlg(CPlayerApp& app, QWidget* parent = nullptr);
    ~CPlayerDlg() override;

    // Initialises the window from the player and runs it modally.
    int DoModal();
    void StoreConfig();

    QString m_strDevice;

private:
    void OnInitDialog();
    void OnMessage(UiMessage& message);

    CPlayerApp& m_app;
    QLabel* m_deviceText;
};
