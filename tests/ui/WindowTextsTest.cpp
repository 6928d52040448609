#include "AudioFileMaker.h"
#include "PlayerDialogFixture.h"
#include "WavBuilder.h"

#include "app/QtTranslations.h"
#include "diag/CDiagnosticsDlg.h"
#include "download/TrackSet.h"
#include "ui/CAboutDlg.h"
#include "ui/CPlanDlg.h"
#include "ui/CProgressDlg.h"
#include "widgets/FileDialog.h"
#include "widgets/MessageBox.h"

#include <QAbstractButton>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QMessageBox>
#include <QSignalSpy>
#include <QStyle>
#include <QStyleOptionButton>
#include <QStyleOptionGroupBox>
#include <QTemporaryDir>

#include <optional>

// Every window shows each of its texts whole, in each language the program speaks, whatever the scale of
// the screen (ctest runs this once more at twice the scale).
namespace {

// What a text needs of its control, and what the control has.
struct Room
{
    QString text;
    int needed;
    int has;
    const char* measure;
};

int pushButtonWidth(const QPushButton& button)
{
    QStyleOptionButton option;
    option.initFrom(&button);
    option.features = button.isDefault() ? QStyleOptionButton::DefaultButton : QStyleOptionButton::None;
    if (button.autoDefault()) {
        option.features |= QStyleOptionButton::AutoDefaultButton;
    }
    // The caption's own width and the style's margins around it. The caption stays out of the option: the
    // least width some styles give any button with a caption (Fusion's 80 px) says nothing of whether
    // this one shows whole.
    const QSize text = button.fontMetrics().size(Qt::TextShowMnemonic, button.text());
    return button.style()->sizeFromContents(QStyle::CT_PushButton, &option, text, &button).width();
}

// Where the style draws a group box's title: it must end inside the box.
int groupTitleEnd(const QGroupBox& group)
{
    QStyleOptionGroupBox option;
    option.initFrom(&group);
    option.text = group.title();
    option.lineWidth = 1;
    option.textAlignment = group.alignment();
    option.subControls = QStyle::SC_GroupBoxFrame | QStyle::SC_GroupBoxLabel;
    const QRect title =
        group.style()->subControlRect(QStyle::CC_GroupBox, &option, QStyle::SC_GroupBoxLabel, &group);
    return title.right() + 1;
}

std::optional<Room> roomOf(const QWidget& widget)
{
    if (const auto* label = qobject_cast<const QLabel*>(&widget)) {
        if (label->text().isEmpty()) {
            return std::nullopt; // an icon, or a field with nothing in it yet
        }
        if (label->wordWrap()) {
            return Room{label->text(), label->heightForWidth(label->width()), label->height(), "high"};
        }
        return Room{label->text(), label->sizeHint().width(), label->width(), "wide"};
    }
    if (const auto* button = qobject_cast<const QAbstractButton*>(&widget)) {
        if (button->text().isEmpty()) {
            return std::nullopt; // a table's corner, a tool button with an icon
        }
        const auto* push = qobject_cast<const QPushButton*>(button);
        const int needed = push ? pushButtonWidth(*push) : button->sizeHint().width();
        return Room{button->text(), needed, button->width(), "wide"};
    }
    if (const auto* group = qobject_cast<const QGroupBox*>(&widget)) {
        return Room{group->title(), groupTitleEnd(*group), group->width(), "wide"};
    }
    return std::nullopt;
}

void expectTextsWhole(const QWidget& window, const char* language)
{
    const QString name =
        window.windowTitle().isEmpty() ? window.metaObject()->className() : window.windowTitle();
    for (const QWidget* widget : window.findChildren<QWidget*>()) {
        // A window opened from this one is looked at on its own.
        if (widget->window() != &window || !widget->isVisibleTo(&window)) {
            continue;
        }
        const std::optional<Room> room = roomOf(*widget);
        if (!room) {
            continue;
        }
        EXPECT_LE(room->needed, room->has)
            << language << ", " << name.toStdString() << ": \"" << room->text.toStdString() << "\" needs "
            << room->needed << " px " << room->measure << ", has " << room->has;
        const QRect where(widget->mapTo(&window, QPoint(0, 0)), widget->size());
        EXPECT_TRUE(window.rect().contains(where))
            << language << ", " << name.toStdString() << ": \"" << room->text.toStdString() << "\" at "
            << where.x() << "," << where.y() << " " << where.width() << "x" << where.height()
            << " lies outside its window of " << window.width() << "x" << window.height();
    }
}

// The suite speaks Italian: whatever happens, Italian again afterwards.
struct ItalianAfterwards
{
    ~ItalianAfterwards() { QtTranslations::install(UiLanguage::Italian); }
};

class WindowTexts : public PlayerDialog
{
protected:
    void SetUp() override
    {
        PlayerDialog::SetUp();
        ASSERT_TRUE(m_dir.isValid());
        // Long enough for the track window; a file of the player's own for a load that re-partitions.
        m_long = m_dir.filePath(QStringLiteral("Canzone lunga.wav"));
        ASSERT_EQ(AudioFileMaker::write(m_long, {"wav", "pcm_s16le", 44100, 2}, 20,
                                        AudioFileMaker::sine(440, 0.5, 44100)),
                  "");
        m_jingle = m_dir.filePath(QStringLiteral("Sigla di apertura.wav"));
        ASSERT_TRUE(WavBuilder::deviceFormat().data(WavBuilder::samples(6400)).writeTo(m_jingle));
        m_notes = m_dir.filePath(QStringLiteral("Appunti.txt"));
        QFile notes(m_notes);
        ASSERT_TRUE(notes.open(QIODevice::WriteOnly));
        notes.write("non audio\n");
    }

    // The player divided in 8, looping, with a track in the first slot, so that Play keeps playing.
    void playerWithATrack()
    {
        player->setConfig(0x80, 0x03, 60);
        player->fillFlash(0, 0x10000, 0xFF);
        player->fillFlash(0, 128, 0x00);
        player->writeFlash(128, WavBuilder::samples(6400));
        for (int track = 0; track < CPlayerApp::kTrackCount; ++track) {
            app.ForgetTrack(track); // the default names in the language of the run
        }
        app.NoteTrackLoaded(0, QStringLiteral("Sigla di apertura"), 6400);
    }

    // The question a load asks before it re-partitions the player, in the real box, which is then declined:
    // from eight tracks to one, it names every track the load would erase.
    void checkRepartitionQuestion(CPlayerDlg& main, const char* language)
    {
        bool asked = false;
        QTimer::singleShot(0, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            ASSERT_NE(box, nullptr);
            asked = true;
            // A box lays itself out as it is shown: a wrapped text gets its height then.
            ASSERT_TRUE(QTest::qWaitForWindowExposed(box));
            expectTextsWhole(*box, language);
            box->reject();
        });
        MessageBox::setRecording(false);
        choose(main, IDC_PARTITION_1, 0);
        FileDialog::setNextFileName(m_jingle);
        QTest::mouseClick(DialogBuilder::control<QPushButton>(main, IDC_LOAD), Qt::LeftButton);
        MessageBox::setRecording(true);
        EXPECT_TRUE(asked) << language << ": no question before the re-partition";
    }

    // The main window as it starts, then while the player plays ("Interrompi" on its play button).
    void checkMainWindow(CPlayerDlg& main, const char* language)
    {
        expectTextsWhole(main, language);
        choose(main, IDC_PARTITION_8, 0);
        auto* play = DialogBuilder::control<QPushButton>(main, IDC_PLAY);
        const QSignalSpy shown(&main, &CPlayerDlg::playStateShown);
        QTest::mouseClick(play, Qt::LeftButton);
        ASSERT_TRUE(waitFor([&] { return !shown.isEmpty(); }));
        expectTextsWhole(main, language);
        QTest::mouseClick(play, Qt::LeftButton);
        ASSERT_TRUE(waitFor([&] { return shown.size() == 2; }));
    }

    // A set's progress window, its line naming the second of three files.
    static void showSetProgress(CProgressDlg& progress, QWidget* parent)
    {
        const auto text = [](const char* context, const char* source, int n = -1) {
            return QCoreApplication::translate(context, source, nullptr, n);
        };
        ASSERT_TRUE(progress.Create(parent, text("SetLoader", "Caricamento di %n file in corso...", 3),
                                    0x3FF7F, CProgressDlg::kEnableCancel));
        const QString item =
            text("TrackDownload", "\"%1\" nel brano %2 di %3").arg("Sigla di apertura").arg(8).arg(8);
        progress.SetDetail(text("SetLoader", "File %1 di %2: %3").arg(2).arg(3).arg(item));
        progress.SetItemProgress(100);
    }

    QTemporaryDir m_dir;
    QString m_long;
    QString m_jingle;
    QString m_notes;
};

TEST_F(WindowTexts, EveryWindowShowsItsTextsWholeInBothLanguages)
{
    const ItalianAfterwards italian;
    const std::pair<UiLanguage, const char*> languages[] = {{UiLanguage::English, "English"},
                                                            {UiLanguage::Italian, "Italian"}};
    for (const auto& [language, name] : languages) {
        ASSERT_TRUE(QtTranslations::install(language)) << name << ": a catalogue is missing";
        playerWithATrack();
        runMainWindow([&, name = name](CPlayerDlg& main) {
            // First, so that it shows a time left by the time the other windows have been looked at.
            CProgressDlg progress;
            showSetProgress(progress, &main);
            checkMainWindow(main, name);
            checkRepartitionQuestion(main, name);

            CAboutDlg about(&main);
            CDiagnosticsDlg diagnostics(app, &main);
            TrackSource source(m_long);
            ASSERT_EQ(source.open(), "");
            source.startReading();
            const TrackSlot slot = *TrackSlot::forTrack(3, 7);
            TrackPart initial;
            initial.length = slot.capacity();
            CTrackDlg track(source, slot, initial, nullptr, &main);
            SetPlan plan = SetPlan::make({m_long, m_notes, m_jingle}, 6, 3, false);
            plan.erasedNames << QStringLiteral("\"Sigla di apertura\"");
            CPlanDlg planWindow(plan, ui, &main);
            ASSERT_TRUE(waitFor([&] {
                progress.SetPos(1);
                return !DialogBuilder::control<QLabel>(progress, IDC_PROGRESS_TIME)->text().isEmpty();
            }));

            const std::initializer_list<QDialog*> windows{&about, &diagnostics, &track, &planWindow,
                                                          &progress};
            for (QDialog* window : windows) {
                window->show();
                ASSERT_TRUE(QTest::qWaitForWindowExposed(window));
                expectTextsWhole(*window, name);
            }
        });
        app.CloseDevice();
        if (HasFailure()) {
            break; // a failed check closed the windows under the next language's
        }
    }
}

} // namespace
