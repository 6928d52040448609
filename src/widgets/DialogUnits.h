#pragma once

#include <QRect>

class QFont;

// Converts the dialog units of a template into pixels with the metrics of the dialog's font: a horizontal
// unit is a quarter of the font's average character width, a vertical unit an eighth of its height.
class DialogUnits
{
public:
    explicit DialogUnits(const QFont& font);
    DialogUnits(int baseX, int baseY) : m_baseX(baseX), m_baseY(baseY) {}

    int baseX() const { return m_baseX; }
    int baseY() const { return m_baseY; }

    int x(int units) const { return (units * m_baseX + 2) / 4; }
    int y(int units) const { return (units * m_baseY + 4) / 8; }
    QRect rect(int x, int y, int cx, int cy) const
    {
        return {this->x(x), this->y(y), this->x(cx), this->y(cy)};
    }
    QSize size(int cx, int cy) const { return {x(cx), y(cy)}; }

private:
    int m_baseX;
    int m_baseY;
};
