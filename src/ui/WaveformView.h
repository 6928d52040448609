#pragma once

#include "download/TrackSource.h"

#include <QWidget>

#include <cstdint>
#include <optional>
#include <vector>

// A sound file's envelope over a time axis in m:ss, with the part that goes into the slot: a window of the
// slot's length that the mouse drags and the keys move (Left/Right 0.1 s, with Shift 1 s, Home, End); the
// rest is shaded. The envelope may grow while the file is read.
class WaveformView : public QWidget
{
    Q_OBJECT

public:
    explicit WaveformView(QWidget* parent = nullptr);

    void appendColumns(const std::vector<TrackSource::Column>& columns);
    // The samples the time axis spans: the file's length, or what it is expected to be while it is read.
    void setTotal(std::uint64_t samples);
    std::uint64_t total() const { return m_total; }
    void setPart(std::uint64_t start, std::uint64_t length);
    std::uint64_t partStart() const { return m_start; }
    // The sample being heard, or none.
    void setPlayhead(std::optional<std::uint64_t> sample);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

signals:
    // The user moved the part to start here.
    void partMoved(quint64 start);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    QRect plotArea() const;
    double xOf(std::uint64_t sample) const;
    std::uint64_t sampleAt(double x) const;
    void moveTo(std::int64_t start);
    void paintAxis(QPainter& painter, const QRect& area) const;

    std::vector<TrackSource::Column> m_columns;
    std::uint64_t m_total = 0;
    std::uint64_t m_start = 0;
    std::uint64_t m_length = 0;
    std::optional<std::uint64_t> m_playhead;
    // Where in the part the mouse took hold of it, in samples; none while it is not dragged.
    std::optional<std::int64_t> m_grab;
};
