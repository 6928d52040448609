#include "diag/CDiagnosticsDlg.h"

#include "app/CPlayerApp.h"
#include "device/UiMessage.h"
#include "diag/CapturedViewMenu.h"
#include "res/DialogTemplate.h"
#include "widgets/DialogBuilder.h"

#include <QListWidget>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QScrollBar>
#include <QShowEvent>
#include <QTextBlock>

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <utility>

namespace {

// After each report the received view is shown from this line, counted from the top rather than from
// wherever the user had scrolled to.
constexpr int kReceivedTopLine = 100;

CPlayerApp::Report newReport()
{
    CPlayerApp::Report report{};
    report[0] = Protocol::kOutputReportId;
    return report;
}

QString forView(const QString& text)
{
    QString shown = text;
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return shown;
}

} // namespace

CDiagnosticsDlg::CDiagnosticsDlg(CPlayerApp& app, QWidget* parent) : QDialog(parent), m_app(app)
{
    DialogBuilder::build(*this, DialogTemplate::get(IDD_DIAGNOSTICS));
    m_ctlLog = DialogBuilder::control<QListWidget>(*this, IDC_LOG);
    m_ctlSent = DialogBuilder::control<QPlainTextEdit>(*this, IDC_SENT);
    m_ctlReceived = DialogBuilder::control<QPlainTextEdit>(*this, IDC_RECEIVED);
    // What came from the player is a record, not something to type into.
    m_ctlReceived->setReadOnly(true);
    m_ctlSent->setAccessibleName(tr("Byte inviati"));
    m_ctlSent->setAccessibleDescription(tr("L'ultimo report mandato al lettore, in esadecimale"));
    m_ctlReceived->setAccessibleName(tr("Byte ricevuti"));
    m_ctlReceived->setAccessibleDescription(tr("I report arrivati dal lettore, in esadecimale"));
    m_ctlLog->setAccessibleName(tr("Registro"));
    m_ctlLog->setAccessibleDescription(tr("Ogni report scambiato con il lettore e ogni evento"));
    AttachMenus();

    const std::pair<int, void (CDiagnosticsDlg::*)()> buttons[] = {
        {IDC_TIPO1, &CDiagnosticsDlg::OnTipo1}, {IDC_TIPO2, &CDiagnosticsDlg::OnTipo2},
        {IDC_TIPO8, &CDiagnosticsDlg::OnTipo8}, {IDC_TIPO13_TEST, &CDiagnosticsDlg::OnTipo13Test},
        {IDC_EEW, &CDiagnosticsDlg::OnEew},     {IDC_EER, &CDiagnosticsDlg::OnEer},
    };
    for (const auto& [id, handler] : buttons) {
        connect(DialogBuilder::control<QPushButton>(*this, id), &QPushButton::clicked, this, handler);
    }
}

void CDiagnosticsDlg::AttachMenus()
{
    const auto viewAccess = [](QPlainTextEdit* view, QString* record) {
        return CapturedViewMenu::Access{
            .text =
                [view] {
                    QString selected = view->textCursor().selectedText();
                    // A selection separates its lines with U+2029, which no other program expects.
                    return selected.isEmpty()
                               ? view->toPlainText()
                               : selected.replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
                },
            .all = [view] { return view->toPlainText(); },
            .clear =
                [view, record] {
                    record->clear();
                    view->clear();
                },
        };
    };
    CapturedViewMenu::attach(m_ctlSent, viewAccess(m_ctlSent, &m_strSent));
    CapturedViewMenu::attach(m_ctlReceived, viewAccess(m_ctlReceived, &m_strReceived));
    const auto lines = [this](bool selectedOnly) {
        QStringList text;
        for (int i = 0; i < m_ctlLog->count(); ++i) {
            if (!selectedOnly || m_ctlLog->item(i)->isSelected()) {
                text << m_ctlLog->item(i)->text();
            }
        }
        return text.join(QLatin1Char('\n'));
    };
    CapturedViewMenu::attach(
        m_ctlLog,
        {.text = [this, lines] { return m_ctlLog->selectedItems().isEmpty() ? lines(false) : lines(true); },
         .all = [lines] { return lines(false); },
         .clear =
             [this] {
                 m_ctlLog->clear();
             }});
}

CDiagnosticsDlg::~CDiagnosticsDlg()
{
    Unregister();
    // Normally Open has let go already; but when the owner takes the window down with itself, this is the
    // last moment at which the reader can still be told that nobody listens any more.
    if (m_app.m_pDiagDlg == this) {
        m_app.m_pDiagDlg = nullptr;
    }
}

void CDiagnosticsDlg::Open(CPlayerApp& app, QWidget* owner)
{
    if (app.m_pDiagDlg != nullptr) {
        return;
    }
    auto dialog = std::make_unique<CDiagnosticsDlg>(app, owner);
    app.m_pDiagDlg = dialog.get();
    const QPointer<CDiagnosticsDlg> alive(dialog.get());
    dialog->exec();
    app.m_pDiagDlg = nullptr;
    if (!alive) {
        // Deleted with its owner while it ran; the destructor has done its part already.
        [[maybe_unused]] CDiagnosticsDlg* gone = dialog.release();
    }
}

void CDiagnosticsDlg::showEvent(QShowEvent* event)
{
    if (!event->spontaneous()) {
        OnInitDialog();
    }
    QDialog::showEvent(event);
}

void CDiagnosticsDlg::OnInitDialog()
{
    m_app.Messages().setHandler(UiTarget::DiagnosticsDialog,
                                [this](UiMessage& message) { OnMessage(message); });
    m_bRegistered = true;
}

void CDiagnosticsDlg::done(int result)
{
    // A reply still on its way is dropped by the queue from now on, instead of reaching a closed window
    // that is about to be destroyed.
    Unregister();
    QDialog::done(result);
}

void CDiagnosticsDlg::Unregister()
{
    // Only our own registration: clearing another window's would silence it.
    if (m_bRegistered) {
        m_app.Messages().clearHandler(UiTarget::DiagnosticsDialog);
        m_bRegistered = false;
    }
}

void CDiagnosticsDlg::OnMessage(UiMessage& message)
{
    if (message.message == WM_DIAG_READ) {
        OnDiagRead(message);
    } else if (message.message == WM_DIAG_WRITE) {
        OnDiagWrite(message);
    }
}

void CDiagnosticsDlg::OnTipo1()
{
    CPlayerApp::Report report = newReport();
    const std::uint8_t payload[] = {0x01, 0x02, 0x04, 0x06, 0x08, 0x0A, 0x0C, 0x0E, 0x10, 0x12};
    std::copy(std::begin(payload), std::end(payload), report.begin() + 1);
    m_app.WriteReport(report);
}

void CDiagnosticsDlg::OnTipo2()
{
    CPlayerApp::Report report = newReport();
    report[1] = Protocol::CMD_GET_CONFIG;
    m_app.WriteReport(report);
}

void CDiagnosticsDlg::OnTipo8()
{
    CPlayerApp::Report report = newReport();
    report[1] = Protocol::CMD_PLAY;
    report[5] = 0x01;
    m_app.WriteReport(report);
}

void CDiagnosticsDlg::OnTipo13Test()
{
    CPlayerApp::Report report = newReport();
    report[1] = Protocol::CMD_TEST;
    // Never seeded: the same values come in every run, so two runs can be compared report by report.
    report[2] = static_cast<std::uint8_t>(std::rand() & 0xFF);
    m_app.WriteReport(report);
}

void CDiagnosticsDlg::OnEew()
{
    // Both halves of a block and its commit, all in one buffer: the commit keeps the tail of the halves
    // (bytes 7 to 9), which it does not use. Its acknowledgement is only shown, not waited for.
    CPlayerApp::Report report = newReport();
    const std::uint8_t half[] = {0x04, 0x00, 0x01, 0x02, 0x83, 0x04, 0x05, 0x06, 0x07};
    std::copy(std::begin(half), std::end(half), report.begin() + 1);
    m_app.WriteReport(report);
    report[2] = 0x01;
    m_app.WriteReport(report);
    const std::uint8_t commit[] = {0x05, 0x00, 0x00, 0x00, 0x01, 0x00};
    std::copy(std::begin(commit), std::end(commit), report.begin() + 1);
    m_app.WriteReport(report);
}

void CDiagnosticsDlg::OnEer()
{
    CPlayerApp::Report report = newReport();
    report[1] = Protocol::CMD_EE_READ;
    m_app.WriteReport(report);
}

void CDiagnosticsDlg::OnDiagRead(const UiMessage& message)
{
    const auto count = static_cast<std::uint16_t>(message.lParam);
    AddLogLine(QStringLiteral("Number of Bytes Read: %1").arg(count));

    // The whole report, whatever the read returned: a short read leaves the rest of the previous one.
    m_strReceived += QStringLiteral("\r\n");
    m_strReceived += Dump(message.bytes, m_app.Link().caps().input);
    m_ctlReceived->setPlainText(forView(m_strReceived));
    ScrollReceivedFromTop(kReceivedTopLine);
}

void CDiagnosticsDlg::OnDiagWrite(const UiMessage& message)
{
    if (message.lParam == 1) {
        AddLogLine(QString::fromStdString(message.text));
        return;
    }
    if (message.lParam != 0) {
        return;
    }
    const std::size_t length = m_app.Link().caps().output;
    // The report length, not what the write returned: that one comes as a status text of its own.
    AddLogLine(QStringLiteral("Number of Bytes Written: %1").arg(length));
    m_strSent = Dump(message.bytes, length);
    m_ctlSent->setPlainText(forView(m_strSent));
}

void CDiagnosticsDlg::ScrollReceivedFromTop(int lines)
{
    // The view counts wrapped lines, but lays out a paragraph only once it comes into view and counts it
    // as one line until then; scrolling over paragraphs never laid out would land further down than asked.
    // Laying out those above the target is enough, and bounded by the distance, not by the whole text.
    QTextDocument& document = *m_ctlReceived->document();
    if (auto* layout = qobject_cast<QPlainTextDocumentLayout*>(document.documentLayout())) {
        int covered = 0;
        for (QTextBlock block = document.begin(); block.isValid() && covered <= lines; block = block.next()) {
            layout->ensureBlockLayout(block);
            covered += block.lineCount();
        }
    }
    // Setting the text has put the view back at the top; the scroll bar clamps at the last line.
    m_ctlReceived->verticalScrollBar()->setValue(lines);
}

void CDiagnosticsDlg::AddLogLine(const QString& line)
{
    m_ctlLog->addItem(line);
    m_ctlLog->scrollToItem(m_ctlLog->item(m_ctlLog->count() - 1));
    m_ctlLog->clearSelection();
}

QString CDiagnosticsDlg::Dump(const std::vector<std::uint8_t>& bytes, std::size_t length)
{
    // A message that carries fewer bytes than the report length (none does today) is shown as far as it
    // goes, rather than read beyond its end.
    const std::size_t shown = std::min(length, bytes.size());
    static constexpr char kDigits[] = "0123456789ABCDEF";
    QString text;
    text.reserve(static_cast<qsizetype>(shown) * 3);
    for (std::size_t i = 0; i < shown; ++i) {
        text += QLatin1Char(kDigits[bytes[i] >> 4]);
        text += QLatin1Char(kDigits[bytes[i] & 0x0F]);
        text += QLatin1Char(' ');
    }
    return text;
}
