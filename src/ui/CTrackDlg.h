#pragma once

#include "download/DownloadUi.h"
#include "download/TrackPart.h"
#include "download/TrackSlot.h"
#include "download/TrackSource.h"

#include <QDialog>
#include <QTimer>

#include <cstdint>
#include <optional>
#include <vector>

class QCheckBox;
class QDoubleSpinBox;
class QLabel;
class QLineEdit;
class QPushButton;
class SoundOutput;
class WaveformView;

// "Prepara il brano": the file's waveform while it is read, the part of it that goes into the slot, its
// fades and level, a preview of the player's bytes through the computer's sound output, and "Carica".
// What "Carica" gives back is exactly what was last heard: the bytes are rendered once per choice.
class CTrackDlg : public QDialog
{
    Q_OBJECT

public:
    // sound may be null: no sound output, and "Ascolta" says so.
    CTrackDlg(TrackSource& source, const TrackSlot& slot, const TrackPart& initial, SoundOutput* sound,
              QWidget* parent = nullptr);
    ~CTrackDlg() override;

    // Valid once the dialog was accepted.
    const PreparedTrack& prepared() const { return m_prepared; }
    const TrackPart& part() const { return m_part; }

    // Looks at the reading and the sound output now, as the window's timer does.
    void poll();

protected:
    void done(int result) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildLayout();
    void moveStart(std::uint64_t start);
    void setPart(const TrackPart& part);
    void showPart();
    void startEdited();
    void fadesEdited();
    void normaliseToggled(bool on);
    void loudest();
    void listen();
    void load();
    // The bytes of the current part, rendered now unless they already are; empty after a failure, which
    // the user has been told about.
    const std::vector<std::uint8_t>* rendered();
    void stopSound();
    bool partRead() const;
    void updateButtons();

    TrackSource& m_source;
    const TrackSlot m_slot;
    SoundOutput* m_sound;
    QString m_noSound; // why there is no preview, or empty
    TrackPart m_part;
    TrackSource::Progress m_progress;
    // The user set the fades: moving the part keeps them.
    bool m_fadesChosen = false;
    bool m_readDone = false;
    std::size_t m_columns = 0;
    std::optional<PreparedTrack> m_rendered;
    PreparedTrack m_prepared;
    QTimer m_timer;

    QLabel* m_about = nullptr;
    QLabel* m_status = nullptr;
    WaveformView* m_view = nullptr;
    QLineEdit* m_start = nullptr;
    QPushButton* m_loudest = nullptr;
    QDoubleSpinBox* m_fadeIn = nullptr;
    QDoubleSpinBox* m_fadeOut = nullptr;
    QCheckBox* m_normalise = nullptr;
    QPushButton* m_listen = nullptr;
    QPushButton* m_load = nullptr;
};
