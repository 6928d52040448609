#include "ui/CPlayerDlg.h"

#include "app/CPlayerApp.h"

#include <QLabel>
#include <QVBoxLayout>

#include <array>
#include <cstring>

CPlayerDlg::CPlayerDlg(CPlayerApp& app, QWidget* parent)
    : QDialog(parent), m_app(app), m_deviceText(new QLabel(this))
{
    setWindowTitle(QStringLiteral("Gestione Zoffino USB"));
    m_deviceText->setObjectName(QStringLiteral("deviceText"));
    m_deviceText->setAlignment(Qt::AlignCenter);
    m_deviceText->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    m_deviceText->setMinimumWidth(360);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_deviceText);
}

CPlayerDlg::~CPlayerDlg()
{
    m_app.Messages().clearHandler(UiTarget::MainWindow);
}

int CPlayerDlg::DoModal()
{
    OnInitDialog();
    return exec();
}

void CPlayerDlg::OnInitDialog()
{
    m_app.Messages().setHandler(UiTarget::MainWindow, [this](UiMessage& message) { OnMessage(message); });

    std::array<std::uint8_t, 256> buffer{};
    if (m_app.QueryDeviceText(1, buffer, 0, 0) > 0) {
        const auto* text = reinterpret_cast<const char*>(buffer.data());
        m_strDevice = QString::fromLatin1(text, static_cast<qsizetype>(strnlen(text, buffer.size())));
    } else {
        m_strDevice = QStringLiteral("<Lettore USB non trovato>");
    }
    m_app.ReadDeviceConfig(buffer);
    m_deviceText->setText(m_strDevice);
}

void CPlayerDlg::OnMessage(UiMessage&)
{
    // Device reports that reach the window outside a query are dropped with their record.
}

void CPlayerDlg::StoreConfig() {}
