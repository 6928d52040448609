#include "diag/CDiagnosticsDlg.h"
#include "diag/CapturedViewMenu.h"

#include "RecordingUi.h"

#include "app/CPlayerApp.h"
#include "device/UiMessagePump.h"
#include "res/ControlIds.h"
#include "sim/FaultInjectingPlayer.h"
#include "widgets/DialogBuilder.h"

#include <QApplication>
#include <QFile>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <numeric>
#include <ostream>

// Readable failure messages; found by argument-dependent lookup, as QString lives in the global namespace.
static void PrintTo(const QString& text, std::ostream* out)
{
    *out << '"' << text.toStdString() << '"';
}

namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes report(Bytes bytes)
{
    bytes.resize(64);
    return bytes;
}

QString dump(const Bytes& bytes)
{
    QString text;
    for (std::uint8_t b : report(bytes)) {
        text += QStringLiteral("%1 ").arg(b, 2, 16, QLatin1Char('0')).toUpper();
    }
    return text;
}

QStringList logOf(CDiagnosticsDlg& dialog)
{
    QStringList lines;
    for (int i = 0; i < dialog.m_ctlLog->count(); ++i) {
        lines.append(dialog.m_ctlLog->item(i)->text());
    }
    return lines;
}

QPlainTextEdit& view(CDiagnosticsDlg& dialog, int id)
{
    return *DialogBuilder::control<QPlainTextEdit>(dialog, id);
}

class DiagnosticsDlg : public ::testing::Test
{
protected:
    void SetUp() override
    {
        auto backend = std::make_unique<FaultInjectingPlayer>();
        player = backend.get();
        app.SetBackend(std::move(backend));
        app.SetUi(&ui);
        // The link posts a write's lines once the write has returned, so a reply that came at once could
        // be shown before them; a slow bus keeps the order even when a busy machine wakes the writer late.
        player->setReportTime(std::chrono::milliseconds(10));
        ASSERT_EQ(app.OpenDevice(), 0);
    }
    void TearDown() override { app.CloseDevice(); }

    // Opens the window as the main window does and runs body once it is up. Whatever is still open after
    // it gets closed, so that a failed check cannot leave the modal loop running.
    void whileOpen(const std::function<void(CDiagnosticsDlg&)>& body, QWidget* owner = nullptr)
    {
        bool ran = false;
        QTimer::singleShot(0, [&] {
            QPointer dialog = qobject_cast<CDiagnosticsDlg*>(QApplication::activeModalWidget());
            ran = dialog && app.m_pDiagDlg == dialog;
            if (ran) {
                body(*dialog);
            }
            if (dialog) {
                dialog->reject();
            }
        });
        CDiagnosticsDlg::Open(app, owner);
        EXPECT_TRUE(ran);
        EXPECT_EQ(app.m_pDiagDlg, nullptr);
        EXPECT_FALSE(app.Messages().hasHandler(UiTarget::DiagnosticsDialog));
    }

    static void click(CDiagnosticsDlg& dialog, int id)
    {
        QTest::mouseClick(DialogBuilder::control<QPushButton>(dialog, id), Qt::LeftButton);
    }

    static bool waitForLog(CDiagnosticsDlg& dialog, int lines)
    {
        return QTest::qWaitFor([&] { return dialog.m_ctlLog->count() >= lines; }, 2000);
    }

    RecordingUi ui;
    CPlayerApp app;
    FaultInjectingPlayer* player = nullptr;
    UiMessagePump pump{app.Messages()};
};

TEST_F(DiagnosticsDlg, ShowsReceivedReportsWholeAfterAnEmptyFirstLine)
{
    whileOpen([&](CDiagnosticsDlg& dialog) {
        EXPECT_EQ(dialog.windowTitle(), "Diagnostica Zoffino USB");
        Bytes full(64);
        std::iota(full.begin(), full.end(), std::uint8_t{0xC0});
        full[0] = 0x01;
        player->injectInputReport(full);
        ASSERT_TRUE(waitForLog(dialog, 1));
        // A short read: its own count, but the whole report, the rest still from the previous one.
        player->injectInputReport({0x01, 0x21, 0x5a});
        ASSERT_TRUE(waitForLog(dialog, 2));
        EXPECT_EQ(logOf(dialog), QStringList({"Number of Bytes Read: 64", "Number of Bytes Read: 3"}));
        Bytes merged = full;
        merged[1] = 0x21;
        merged[2] = 0x5a;
        EXPECT_EQ(dialog.m_strReceived, "\r\n" + dump(full) + "\r\n" + dump(merged));
        EXPECT_EQ(view(dialog, IDC_RECEIVED).toPlainText(), "\n" + dump(full) + "\n" + dump(merged));
        EXPECT_TRUE(dialog.m_strSent.isEmpty());
    });
}

TEST_F(DiagnosticsDlg, EachButtonSendsItsReport)
{
    player->recordOutputReports(true);
    std::srand(7);
    const auto first = static_cast<std::uint8_t>(std::rand()),
               second = static_cast<std::uint8_t>(std::rand());
    std::srand(7);
    whileOpen([&](CDiagnosticsDlg& dialog) {
        for (int id : {IDC_TIPO1, IDC_TIPO2, IDC_EER, IDC_TIPO13_TEST, IDC_TIPO13_TEST, IDC_EEW, IDC_TIPO8}) {
            click(dialog, id);
        }
    });
    // The three of "EEW" come from one buffer: the commit keeps the tail of the halves.
    const std::vector<Bytes> expected = {{2, 1, 2, 4, 6, 8, 0x0A, 0x0C, 0x0E, 0x10, 0x12},
                                         {2, 2},
                                         {2, 6},
                                         {2, 0x0B, first},
                                         {2, 0x0B, second},
                                         {2, 4, 0, 1, 2, 0x83, 4, 5, 6, 7},
                                         {2, 4, 1, 1, 2, 0x83, 4, 5, 6, 7},
                                         {2, 5, 0, 0, 0, 1, 0, 5, 6, 7},
                                         {2, 8, 0, 0, 0, 1}};
    const auto sent = player->outputReports();
    ASSERT_EQ(sent.size(), expected.size());
    for (std::size_t i = 0; i < sent.size(); ++i) {
        EXPECT_EQ(sent[i], report(expected[i])) << "report " << i;
    }
}

TEST_F(DiagnosticsDlg, LogsEachWriteAndShowsTheLastReportSent)
{
    whileOpen([&](CDiagnosticsDlg& dialog) {
        click(dialog, IDC_EEW);
        ASSERT_TRUE(waitForLog(dialog, 6));
        const QString written = "Number of Bytes Written: 64", status = "Bytes Written: 64";
        EXPECT_EQ(logOf(dialog).mid(0, 6), QStringList({written, status, written, status, written, status}));
        EXPECT_EQ(dialog.m_strSent, dump({2, 5, 0, 0, 0, 1, 0, 5, 6, 7}));
        EXPECT_EQ(view(dialog, IDC_SENT).toPlainText(), dialog.m_strSent);
        // The newest line is in view, and nothing is selected.
        QListWidget& log = *dialog.m_ctlLog;
        EXPECT_TRUE(log.viewport()->rect().contains(log.visualItemRect(log.item(log.count() - 1))));
        EXPECT_TRUE(log.selectedItems().isEmpty());
    });
}

TEST_F(DiagnosticsDlg, ReceivedViewStartsAtLineHundred)
{
    whileOpen([&](CDiagnosticsDlg& dialog) {
        QScrollBar& bar = *view(dialog, IDC_RECEIVED).verticalScrollBar();
        for (int i = 1; i <= 122; ++i) {
            player->injectInputReport({1, 0x20});
            ASSERT_TRUE(waitForLog(dialog, i));
            if (i == 1) {
                EXPECT_EQ(bar.value(), bar.maximum()) << "fewer lines than that";
            } else if (i == 121) {
                EXPECT_EQ(bar.value(), 100);
                bar.setValue(150);
            }
        }
        EXPECT_EQ(bar.value(), 100) << "counted from the top, not from where the view was";
    });
}

TEST_F(DiagnosticsDlg, OpensOnceAtATimeAndAfreshEachTime)
{
    whileOpen([&](CDiagnosticsDlg& dialog) {
        click(dialog, IDC_TIPO2);
        ASSERT_TRUE(waitForLog(dialog, 3));
        EXPECT_EQ(logOf(dialog), QStringList({"Number of Bytes Written: 64", "Bytes Written: 64",
                                              "Number of Bytes Read: 64"}));
        // A refused second opening returns at once; should it run a window anyway, that one is closed.
        QTimer guard;
        guard.setSingleShot(true);
        QObject::connect(&guard, &QTimer::timeout, [] { QApplication::activeModalWidget()->close(); });
        guard.start(0);
        CDiagnosticsDlg::Open(app, &dialog);
        EXPECT_TRUE(guard.isActive());
        EXPECT_EQ(app.m_pDiagDlg, &dialog);
        // "Chiudi" is bound to nothing; Escape closes.
        click(dialog, IDC_CHIUDI);
        EXPECT_TRUE(dialog.isVisible());
        QTest::keyClick(&dialog, Qt::Key_Escape);
        EXPECT_FALSE(dialog.isVisible());
    });
    whileOpen([&](CDiagnosticsDlg& dialog) {
        EXPECT_EQ(dialog.m_ctlLog->count(), 0);
        EXPECT_TRUE(dialog.m_strSent.isEmpty() && dialog.m_strReceived.isEmpty());
        EXPECT_TRUE(view(dialog, IDC_RECEIVED).toPlainText().isEmpty() &&
                    view(dialog, IDC_SENT).toPlainText().isEmpty());
    });
}

TEST_F(DiagnosticsDlg, MessagesForAClosedWindowAreDropped)
{
    // Closed with its reports and the reply still queued.
    whileOpen([&](CDiagnosticsDlg& dialog) { click(dialog, IDC_TIPO2); });
    app.Messages().post({.target = UiTarget::DiagnosticsDialog, .message = WM_DIAG_READ, .bytes = Bytes(64)});
    EXPECT_TRUE(QTest::qWaitFor([&] { return app.Messages().pendingCount() == 0; }, 2000));

    // Taken down with its owner while it runs.
    auto* owner = new QWidget;
    whileOpen([&](CDiagnosticsDlg&) { delete owner; }, owner);
    app.Messages().post({.target = UiTarget::DiagnosticsDialog, .message = WM_DIAG_WRITE, .lParam = 1});
    EXPECT_TRUE(QTest::qWaitFor([&] { return app.Messages().pendingCount() == 0; }, 2000));
}

} // namespace

namespace {

TEST_F(DiagnosticsDlg, TheCapturedDataCanBeSavedAndClearedButNotTypedInto)
{
    whileOpen([&](CDiagnosticsDlg& dialog) {
        click(dialog, IDC_TIPO2);
        ASSERT_TRUE(waitForLog(dialog, 3));
        EXPECT_TRUE(view(dialog, IDC_RECEIVED).isReadOnly());

        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("registro.txt"));
        QStringList lines;
        for (int i = 0; i < dialog.m_ctlLog->count(); ++i) {
            lines << dialog.m_ctlLog->item(i)->text();
        }
        EXPECT_EQ(CapturedViewMenu::save(path, lines.join('\n')), "");
        QFile saved(path);
        ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
        EXPECT_EQ(QString::fromUtf8(saved.readAll()), lines.join('\n') + '\n');

        const QString failure =
            CapturedViewMenu::save(dir.filePath(QStringLiteral("manca/registro.txt")), "x");
        EXPECT_TRUE(failure.startsWith("Impossibile salvare")) << failure.toStdString();
        EXPECT_TRUE(failure.contains("manca")) << failure.toStdString();
    });
}

} // namespace
