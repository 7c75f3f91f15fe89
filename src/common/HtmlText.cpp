#include "common/HtmlText.h"

#include <QAbstractTextDocumentLayout>
#include <QFontMetrics>
#include <QPainter>
#include <QTextDocument>
#include <QTextOption>
#include <QtMath>

namespace dudodu {

namespace {

bool hasMarkup(const QString& text) {
    return text.contains(QLatin1Char('<')) || text.contains(QLatin1Char('&'));
}

void prepare(QTextDocument& document, const QString& html, const QFont& font, int width,
             Qt::Alignment alignment) {
    document.setDocumentMargin(0);
    document.setDefaultFont(font);
    QTextOption option(alignment & Qt::AlignHorizontal_Mask);
    option.setWrapMode(QTextOption::WordWrap); // as the plain path: a word longer than the cell is clipped
    document.setDefaultTextOption(option);
    document.setHtml(html);
    document.setTextWidth(qMax(1, width));
}

int plainFlags(Qt::Alignment alignment) {
    return int(alignment & Qt::AlignHorizontal_Mask) | Qt::TextWordWrap;
}

} // namespace

QSize HtmlTextSize(const QString& html, const QFont& font, int width, Qt::Alignment alignment) {
    const QFontMetrics metrics(font);
    if (html.isEmpty()) return {0, metrics.height()};
    if (!hasMarkup(html)) {
        const QRect bounds =
            metrics.boundingRect(QRect(0, 0, qMax(1, width), 1 << 20), plainFlags(alignment), html);
        return {bounds.width(), qMax(bounds.height(), metrics.height())};
    }
    QTextDocument document;
    prepare(document, html, font, width, alignment);
    return {qCeil(document.idealWidth()), qMax(qCeil(document.size().height()), metrics.height())};
}

void DrawHtmlText(QPainter* painter, const QRect& rect, const QString& html, const QFont& font,
                  const QColor& color, Qt::Alignment alignment) {
    if (html.isEmpty()) return;
    painter->save();
    painter->setClipRect(rect, Qt::IntersectClip);
    if (!hasMarkup(html)) {
        painter->setFont(font);
        painter->setPen(color);
        painter->drawText(rect, plainFlags(alignment) | Qt::AlignVCenter, html);
    } else {
        QTextDocument document;
        prepare(document, html, font, rect.width(), alignment);
        const qreal top = rect.top() + qMax<qreal>(0, (rect.height() - document.size().height()) / 2);
        painter->translate(rect.left(), top);
        QAbstractTextDocumentLayout::PaintContext context;
        context.palette.setColor(QPalette::Text, color);
        document.documentLayout()->draw(painter, context);
    }
    painter->restore();
}

} // namespace dudodu
