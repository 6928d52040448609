#include "ui/CTrackDlg.h"

#include "download/Durations.h"
#include "download/SoundOutput.h"
#include "ui/WaveformView.h"
#include "widgets/MessageBox.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QFileInfo>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShortcut>
#include <QSlider>
#include <QVBoxLayout>

#include <cmath>

namespace {

constexpr int kRate = TrackSlot::kSampleRate;
// How often the reading and the sound are looked at: a smooth line, and no cost worth naming.
constexpr int kPollMs = 30;

std::uint64_t samplesOf(double seconds)
{
    return static_cast<std::uint64_t>(std::llround(std::max(seconds, 0.0) * kRate));
}

double secondsOf(std::uint64_t samples)
{
    return static_cast<double>(samples) / kRate;
}

} // namespace

CTrackDlg::CTrackDlg(TrackSource& source, const TrackSlot& slot, const TrackPart& initial, SoundOutput* sound,
                     QWidget* parent)
    : QDialog(parent), m_source(source), m_slot(slot), m_sound(sound), m_part(initial)
{
    setWindowTitle(tr("Prepara il brano"));
    // Asked once, and again after a start that failed: a sound server is not looked up every few ms.
    m_noSound = m_sound ? m_sound->unavailable() : tr("Questo computer non ha un'uscita audio.");
    buildLayout();
    connect(m_view, &WaveformView::partMoved, this, [this](quint64 start) { moveStart(start); });
    connect(&m_timer, &QTimer::timeout, this, &CTrackDlg::poll);
    m_timer.start(kPollMs);
    poll();
    showPart();
    m_view->setFocus();
}

CTrackDlg::~CTrackDlg()
{
    stopSound();
    // QDialog's destructor hides the window after this part of it is gone, and the field losing its focus
    // then would call startEdited() on what is left.
    for (QWidget* child : findChildren<QWidget*>()) {
        disconnect(child, nullptr, this, nullptr);
    }
}

void CTrackDlg::buildLayout()
{
    const AudioInfo& info = m_source.info();
    m_about =
        new QLabel(tr("\"%1\": %2.").arg(QFileInfo(m_source.shownName()).fileName(), info.description()) +
                   QLatin1Char('\n') +
                   tr("Lo spazio scelto contiene %1 s: va nel lettore la parte chiara.")
                       .arg(Durations::tenths(m_slot.seconds())));
    m_about->setWordWrap(true);
    m_status = new QLabel;
    m_view = new WaveformView;

    m_start = new QLineEdit;
    m_start->setAccessibleName(tr("Inizio"));
    m_start->setToolTip(tr("Dove comincia la parte, in minuti, secondi e decimi (1:23,4)."));
    connect(m_start, &QLineEdit::editingFinished, this, &CTrackDlg::startEdited);
    // Enter in the field moves the part there; it does not load it, nor press any other button.
    m_start->installEventFilter(this);
    m_loudest = new QPushButton(tr("Parte più forte"));
    m_loudest->setToolTip(tr("Porta la parte dove il brano suona più forte."));
    m_loudest->setAutoDefault(false);
    connect(m_loudest, &QPushButton::clicked, this, &CTrackDlg::loudest);

    const auto fade = [this](const QString& name) {
        auto* box = new QDoubleSpinBox;
        box->setRange(0, TrackPart::kMaxFade);
        box->setSingleStep(0.05);
        box->setDecimals(2);
        box->setSuffix(tr(" s"));
        box->setAccessibleName(name);
        connect(box, &QDoubleSpinBox::valueChanged, this, &CTrackDlg::fadesEdited);
        return box;
    };
    m_fadeIn = fade(tr("Dissolvenza iniziale"));
    m_fadeOut = fade(tr("Dissolvenza finale"));
    m_normalise = new QCheckBox(tr("Porta il volume al massimo senza distorcere"));
    connect(m_normalise, &QCheckBox::toggled, this, &CTrackDlg::normaliseToggled);

    // Labels of their own: a row that is a layout gives the form nothing to set as the mnemonic's buddy.
    const auto label = [](const QString& text, QWidget* buddy) {
        auto* made = new QLabel(text);
        made->setBuddy(buddy);
        return made;
    };
    auto* startRow = new QHBoxLayout;
    startRow->addWidget(m_start);
    startRow->addWidget(m_loudest);
    auto* fades = new QHBoxLayout;
    fades->addWidget(m_fadeIn);
    fades->addWidget(label(tr("&Finale:"), m_fadeOut));
    fades->addWidget(m_fadeOut);
    fades->addStretch();
    auto* form = new QFormLayout;
    form->addRow(label(tr("&Inizio:"), m_start), startRow);
    form->addRow(label(tr("&Dissolvenze, iniziale:"), m_fadeIn), fades);
    form->addRow(QString(), m_normalise);

    auto* buttons = new QDialogButtonBox;
    m_listen = buttons->addButton(tr("Ascolta"), QDialogButtonBox::ActionRole);
    m_load = buttons->addButton(tr("Carica"), QDialogButtonBox::AcceptRole);
    buttons->addButton(tr("Annulla"), QDialogButtonBox::RejectRole);
    m_listen->setAutoDefault(false);
    m_load->setDefault(true);
    connect(m_listen, &QPushButton::clicked, this, &CTrackDlg::listen);
    connect(m_load, &QPushButton::clicked, this, &CTrackDlg::load);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    // Space plays and stops wherever the focus is but in the start field, which takes its own keys.
    auto* space = new QShortcut(QKeySequence(Qt::Key_Space), this);
    connect(space, &QShortcut::activated, this, [this] {
        if (m_listen->isEnabled()) {
            listen();
        }
    });

    // Only the computer's loudness: the bytes that go to the player stay as they are.
    auto* volume = new QSlider(Qt::Horizontal);
    volume->setRange(0, 100);
    volume->setValue(100);
    volume->setAccessibleName(tr("Volume dell'ascolto"));
    volume->setToolTip(tr("Il volume dell'ascolto sul computer; il brano caricato non cambia."));
    connect(volume, &QSlider::valueChanged, this, [this](int value) {
        if (m_sound) {
            m_sound->setVolume(value / 100.0);
        }
    });
    form->addRow(tr("&Volume dell'ascolto:"), volume);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_about);
    layout->addWidget(m_view, 1);
    layout->addWidget(m_status);
    layout->addLayout(form);
    layout->addWidget(buttons);
}

bool CTrackDlg::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_start && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            startEdited();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void CTrackDlg::poll()
{
    std::vector<TrackSource::Column> fresh;
    m_progress = m_source.progress(m_columns, &fresh);
    m_columns += fresh.size();
    m_view->appendColumns(fresh);
    const bool done = m_progress.state == TrackSource::State::Done;
    const std::uint64_t expected = samplesOf(m_source.info().seconds);
    const bool justDone = done && !m_readDone;
    m_readDone = done;
    m_view->setTotal(done ? m_progress.samples : std::max({expected, m_progress.samples, m_part.end()}));
    if (justDone) {
        // The file's real end is known now: the part may have to be shorter, or move, or lose its fade-out.
        moveStart(m_part.start);
    }
    if (m_progress.state == TrackSource::State::Failed || m_progress.state == TrackSource::State::Cancelled) {
        // The Load command tells why. Queued: a file that fails at once does so before the window is shown,
        // and a rejection then would be undone by the showing.
        m_timer.stop();
        QMetaObject::invokeMethod(this, &QDialog::reject, Qt::QueuedConnection);
        return;
    }
    m_status->setText(done ? QString()
                           : tr("Lettura del file: %1%").arg(static_cast<int>(m_progress.fraction * 100)));
    if (m_sound && m_sound->playing() && m_rendered) {
        m_view->setPlayhead(m_rendered->part.start + m_sound->position());
    } else {
        m_view->setPlayhead(std::nullopt);
        m_listen->setText(tr("Ascolta"));
    }
    updateButtons();
}

bool CTrackDlg::partRead() const
{
    return m_progress.state == TrackSource::State::Done || m_progress.samples >= m_part.end();
}

void CTrackDlg::updateButtons()
{
    const QString& noSound = m_noSound;
    m_loudest->setEnabled(m_progress.state == TrackSource::State::Done);
    m_listen->setEnabled(partRead() && noSound.isEmpty());
    m_listen->setToolTip(noSound.isEmpty() ? tr("Suona la parte come la suonerà il lettore (Spazio).")
                                           : noSound);
    m_load->setEnabled(partRead());
}

void CTrackDlg::moveStart(std::uint64_t start)
{
    TrackPart part;
    if (m_progress.state == TrackSource::State::Done) {
        part = m_source.partAt(start, m_slot.capacity(), m_part.normalise);
    } else {
        // While the file is read its end is not known: the part is the slot's length.
        part = m_part;
        part.start = start;
        part.length = m_slot.capacity();
        part.fadeIn = start > 0 ? TrackPart::kCutFade : 0;
        part.fadeOut = TrackPart::kCutFade;
    }
    if (m_fadesChosen) {
        part.fadeIn = m_part.fadeIn;
        part.fadeOut = m_part.fadeOut;
    }
    part.normalise = m_part.normalise;
    setPart(part);
}

void CTrackDlg::setPart(const TrackPart& part)
{
    if (part == m_part) {
        showPart();
        return;
    }
    stopSound();
    m_part = part;
    showPart();
}

void CTrackDlg::showPart()
{
    m_view->setPart(m_part.start, m_part.length);
    if (!m_start->hasFocus() || m_start->text().isEmpty()) {
        m_start->setText(Durations::clockTenths(secondsOf(m_part.start)));
    }
    const QSignalBlocker in(m_fadeIn);
    const QSignalBlocker out(m_fadeOut);
    const QSignalBlocker level(m_normalise);
    m_fadeIn->setValue(m_part.fadeIn);
    m_fadeOut->setValue(m_part.fadeOut);
    m_normalise->setChecked(m_part.normalise);
    updateButtons();
}

void CTrackDlg::startEdited()
{
    const std::optional<double> seconds = Durations::parseClock(m_start->text());
    if (seconds) {
        moveStart(std::min(samplesOf(*seconds),
                           m_view->total() > m_part.length ? m_view->total() - m_part.length : 0));
    }
    m_start->setText(Durations::clockTenths(secondsOf(m_part.start)));
}

void CTrackDlg::fadesEdited()
{
    m_fadesChosen = true;
    TrackPart part = m_part;
    part.fadeIn = m_fadeIn->value();
    part.fadeOut = m_fadeOut->value();
    setPart(part);
}

void CTrackDlg::normaliseToggled(bool on)
{
    TrackPart part = m_part;
    part.normalise = on;
    setPart(part);
}

void CTrackDlg::loudest()
{
    moveStart(m_source.loudestStart(m_part.length));
}

const std::vector<std::uint8_t>* CTrackDlg::rendered()
{
    if (!m_rendered || !(m_rendered->part == m_part)) {
        QString error;
        std::optional<std::vector<std::uint8_t>> samples = m_source.render(m_part, error);
        if (!samples) {
            m_rendered.reset();
            MessageBox::show(this, error, MessageIcon::Error);
            return nullptr;
        }
        m_rendered = PreparedTrack{m_part, std::move(*samples)};
    }
    return &m_rendered->samples;
}

void CTrackDlg::listen()
{
    if (m_sound && m_sound->playing()) {
        stopSound();
        return;
    }
    const std::vector<std::uint8_t>* samples = m_sound ? rendered() : nullptr;
    if (samples && m_sound->play(*samples)) {
        m_listen->setText(tr("Ferma"));
    } else if (samples) {
        m_noSound = m_sound->unavailable();
        MessageBox::show(this, tr("Impossibile ascoltare la parte: %1").arg(m_noSound), MessageIcon::Error);
    }
    updateButtons();
}

void CTrackDlg::load()
{
    if (!partRead() || !rendered()) {
        return;
    }
    stopSound();
    m_prepared = *m_rendered;
    accept();
}

void CTrackDlg::stopSound()
{
    if (m_sound && m_sound->playing()) {
        m_sound->stop();
    }
    if (m_listen) {
        m_listen->setText(tr("Ascolta"));
    }
    if (m_view) {
        m_view->setPlayhead(std::nullopt);
    }
}

void CTrackDlg::done(int result)
{
    m_timer.stop();
    stopSound();
    QDialog::done(result);
}
