#include "common/SqlText.h"

#include <QLocale>
#include <cmath>

namespace dudodu {

QString SqlQuote(const QString& text) {
    QString quoted = text;
    quoted.replace(QLatin1Char('\''), QLatin1String("''"));
    return QLatin1Char('\'') + quoted + QLatin1Char('\'');
}

QString SqlNumber(double value) {
    if (!std::isfinite(value)) return QStringLiteral("NULL");
    if (value == 0) return QStringLiteral("0"); // no "-0"
    return QString::number(value, 'f', QLocale::FloatingPointShortest);
}

QString SqlNumber(qint64 value) {
    return QString::number(value);
}

} // namespace dudodu
