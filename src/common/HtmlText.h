// Measuring and drawing the HTML cell text of the grids. Text without markup takes the quicker
// plain path; both wrap at word boundaries and between Chinese characters.
#pragma once

#include <QColor>
#include <QFont>
#include <QRect>
#include <QString>

class QPainter;

namespace dudodu {

// Size of the text wrapped to width (at least one line high).
QSize HtmlTextSize(const QString& html, const QFont& font, int width,
                   Qt::Alignment alignment = Qt::AlignLeft);
// Draws the text wrapped to the width of rect, vertically centred, clipped to rect.
void DrawHtmlText(QPainter* painter, const QRect& rect, const QString& html, const QFont& font,
                  const QColor& color, Qt::Alignment alignment = Qt::AlignLeft);

} // namespace dudodu
