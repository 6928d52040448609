#include "ui/WaveformView.h"

#include "download/Durations.h"
#include "download/TrackSlot.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

#include <algorithm>
#include <array>
#include <cmath>

namespace {

constexpr std::int64_t kRate = TrackSlot::kSampleRate;
constexpr int kAxisHeight = 18;
// Tick spacings in seconds, the first that leaves room for its label wins.
constexpr std::array<int, 12> kTickSeconds{1, 2, 5, 10, 15, 30, 60, 120, 300, 600, 1200, 1800};

} // namespace

WaveformView::WaveformView(QWidget* parent) : QWidget(parent)
{
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAccessibleName(tr("Forma d'onda"));
    setAccessibleDescription(tr("La parte chiara va nel lettore: trascinarla col mouse o spostarla con le "
                                "frecce (Maiusc per un secondo), Inizio e Fine."));
}

QSize WaveformView::sizeHint() const
{
    return {640, 160};
}

QSize WaveformView::minimumSizeHint() const
{
    return {240, 80};
}

void WaveformView::appendColumns(const std::vector<TrackSource::Column>& columns)
{
    if (columns.empty()) {
        return;
    }
    m_columns.insert(m_columns.end(), columns.begin(), columns.end());
    update();
}

void WaveformView::setTotal(std::uint64_t samples)
{
    if (samples != m_total) {
        m_total = samples;
        update();
    }
}

void WaveformView::setPart(std::uint64_t start, std::uint64_t length)
{
    if (start != m_start || length != m_length) {
        m_start = start;
        m_length = length;
        update();
    }
}

void WaveformView::setPlayhead(std::optional<std::uint64_t> sample)
{
    if (sample != m_playhead) {
        m_playhead = sample;
        update();
    }
}

QRect WaveformView::plotArea() const
{
    return rect().adjusted(1, 1, -1, -kAxisHeight);
}

double WaveformView::xOf(std::uint64_t sample) const
{
    const QRect area = plotArea();
    const double span = static_cast<double>(std::max<std::uint64_t>(m_total, 1));
    return area.left() + static_cast<double>(sample) / span * area.width();
}

std::uint64_t WaveformView::sampleAt(double x) const
{
    const QRect area = plotArea();
    const double share = std::clamp((x - area.left()) / std::max(area.width(), 1), 0.0, 1.0);
    return static_cast<std::uint64_t>(std::llround(share * static_cast<double>(m_total)));
}

void WaveformView::moveTo(std::int64_t start)
{
    const auto last = static_cast<std::int64_t>(m_total > m_length ? m_total - m_length : 0);
    const auto clamped = static_cast<std::uint64_t>(std::clamp<std::int64_t>(start, 0, last));
    if (clamped != m_start) {
        m_start = clamped;
        update();
        emit partMoved(clamped);
    }
}

void WaveformView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const QRect area = plotArea();
    const QPalette& colours = palette();
    painter.fillRect(rect(), colours.color(QPalette::Window));
    painter.fillRect(area, colours.color(QPalette::Base));

    // One vertical line per pixel column: the extremes of every envelope column under it.
    const double middle = area.center().y() + 0.5;
    const double half = area.height() / 2.0;
    painter.setPen(colours.color(QPalette::Text));
    const double columnsPerPixel =
        static_cast<double>(m_total) / TrackSource::kColumnSamples / std::max(area.width(), 1);
    for (int x = 0; x < area.width() && m_total > 0; ++x) {
        const auto first = static_cast<std::size_t>(x * columnsPerPixel);
        const auto last = std::max(first + 1, static_cast<std::size_t>((x + 1) * columnsPerPixel));
        if (first >= m_columns.size()) {
            break;
        }
        float low = 0;
        float high = 0;
        for (std::size_t c = first; c < std::min(last, m_columns.size()); ++c) {
            low = std::min(low, m_columns[c].low);
            high = std::max(high, m_columns[c].high);
        }
        const int px = area.left() + x;
        painter.drawLine(QPointF(px, middle - std::min(high, 1.0f) * half),
                         QPointF(px, middle - std::max(low, -1.0f) * half));
    }

    // What stays out of the slot is shaded.
    QColor shade = colours.color(QPalette::Window);
    shade.setAlpha(170);
    const double left = xOf(m_start);
    const double right = xOf(std::min(m_start + m_length, std::max(m_total, m_start + m_length)));
    painter.fillRect(QRectF(area.left(), area.top(), left - area.left(), area.height()), shade);
    painter.fillRect(QRectF(right, area.top(), area.right() + 1 - right, area.height()), shade);
    painter.setPen(QPen(colours.color(QPalette::Highlight), hasFocus() ? 2 : 1));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(QRectF(left, area.top(), std::max(right - left, 1.0), area.height() - 1));

    if (m_playhead) {
        painter.setPen(QPen(colours.color(QPalette::Highlight), 2));
        const double x = xOf(*m_playhead);
        painter.drawLine(QPointF(x, area.top()), QPointF(x, area.bottom()));
    }
    paintAxis(painter, area);
}

void WaveformView::paintAxis(QPainter& painter, const QRect& area) const
{
    if (m_total == 0) {
        return;
    }
    const QFontMetrics metrics(font());
    const double pixelsPerSecond = area.width() * static_cast<double>(kRate) / static_cast<double>(m_total);
    const int room = metrics.horizontalAdvance(QStringLiteral("00:00")) * 2;
    int step = kTickSeconds.back();
    for (int candidate : kTickSeconds) {
        if (candidate * pixelsPerSecond >= room) {
            step = candidate;
            break;
        }
    }
    painter.setPen(palette().color(QPalette::WindowText));
    const qint64 seconds = static_cast<qint64>(m_total / kRate);
    for (qint64 second = 0; second <= seconds; second += step) {
        const double x = xOf(static_cast<std::uint64_t>(second * kRate));
        painter.drawLine(QPointF(x, area.bottom() + 1), QPointF(x, area.bottom() + 4));
        const QString label = Durations::clock(second);
        const double width = metrics.horizontalAdvance(label);
        const double at = std::clamp(x - width / 2, 0.0, static_cast<double>(this->width()) - width);
        painter.drawText(QPointF(at, area.bottom() + 4 + metrics.ascent()), label);
    }
}

void WaveformView::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton || m_total == 0) {
        return QWidget::mousePressEvent(event);
    }
    const auto at = static_cast<std::int64_t>(sampleAt(event->position().x()));
    const auto start = static_cast<std::int64_t>(m_start);
    const bool inside = at >= start && at < start + static_cast<std::int64_t>(m_length);
    // Taken where it was clicked; a click beside it brings the part's middle there.
    m_grab = inside ? at - start : static_cast<std::int64_t>(m_length / 2);
    moveTo(at - *m_grab);
}

void WaveformView::mouseMoveEvent(QMouseEvent* event)
{
    if (m_grab) {
        moveTo(static_cast<std::int64_t>(sampleAt(event->position().x())) - *m_grab);
    }
}

void WaveformView::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton) {
        m_grab.reset();
    }
}

void WaveformView::keyPressEvent(QKeyEvent* event)
{
    const std::int64_t step = (event->modifiers() & Qt::ShiftModifier) ? kRate : kRate / 10;
    const auto start = static_cast<std::int64_t>(m_start);
    switch (event->key()) {
    case Qt::Key_Left:
        return moveTo(start - step);
    case Qt::Key_Right:
        return moveTo(start + step);
    case Qt::Key_Home:
        return moveTo(0);
    case Qt::Key_End:
        return moveTo(static_cast<std::int64_t>(m_total));
    default:
        QWidget::keyPressEvent(event);
    }
}
