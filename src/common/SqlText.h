// Every value put into SQL text goes through these: texts quoted with embedded quotes doubled,
// numbers in the shortest decimal form with a point.
#pragma once

#include <QString>

namespace dudodu {

// 'text' with each ' doubled: O'Brien -> 'O''Brien'.
QString SqlQuote(const QString& text);
// The shortest decimal that reads back as the same value, point separated, never in exponent form;
// "NULL" for infinities and NaN, which SQL cannot hold.
QString SqlNumber(double value);
QString SqlNumber(qint64 value);
inline QString SqlNumber(int value) {
    return SqlNumber(qint64(value));
}

} // namespace dudodu
