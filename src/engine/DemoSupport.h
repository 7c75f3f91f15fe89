// Small tools of the demo-data generator: a platform-independent random source, prepared inserts
// and the canonical date texts. Internal to the engine.
#pragma once

#include <QDate>
#include <QString>
#include <cstdint>
#include <initializer_list>
#include <random>
#include <stdexcept>
#include <vector>

struct sqlite3;
struct sqlite3_stmt;

namespace dudodu::engine::demo {

// The generator's failures travel as exceptions and become the error text of generateDemoData.
struct DemoError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// std::mt19937 is specified exactly; the standard distributions are not, so the bounded draws are
// made here to give the same data on every platform.
class Rng {
  public:
    explicit Rng(quint32 seed) : m_gen(seed) {}
    // Uniform in [lo, hi].
    int between(int lo, int hi) {
        const std::uint64_t span = std::uint64_t(std::int64_t(hi) - lo + 1);
        return int(lo + std::int64_t((std::uint64_t(m_gen()) * span) >> 32));
    }
    int below(int n) { return between(0, n - 1); }
    double unit() { return m_gen() / 4294967296.0; }
    bool chance(double p) { return unit() < p; }
    template <typename T> const T& pick(const std::vector<T>& items) {
        return items[size_t(below(int(items.size())))];
    }

  private:
    std::mt19937 m_gen;
};

// One bound value of an insert. Texts bind as text, also when empty; NULL only from nullptr.
class Val {
  public:
    Val(std::nullptr_t) {}
    Val(int v) : m_kind(Int), m_int(v) {}
    Val(qint64 v) : m_kind(Int), m_int(v) {}
    Val(double v) : m_kind(Real), m_real(v) {}
    Val(const QString& v) : m_kind(Text), m_text(v.toUtf8()) {}
    Val(const char* v) : m_kind(Text), m_text(v) {}
    void bind(sqlite3_stmt* stmt, int index) const;

  private:
    enum Kind { Null, Int, Real, Text } m_kind = Null;
    qint64 m_int = 0;
    double m_real = 0;
    QByteArray m_text;
};

// A prepared statement reused for every row.
class Inserter {
  public:
    Inserter(sqlite3* db, const char* sql);
    ~Inserter();
    Inserter(const Inserter&) = delete;
    Inserter& operator=(const Inserter&) = delete;
    void row(std::initializer_list<Val> values);

  private:
    sqlite3* m_db;
    sqlite3_stmt* m_stmt = nullptr;
};

void exec(sqlite3* db, const QString& sql);

// Canonical date texts of the engine ("yyyy-MM-dd HH:mm:ss.zzz").
QString dayText(const QDate& day);
QString timeText(const QDate& day, int minuteOfDay);

// Sunday = 1 … Saturday = 7, the facilities database's weekday numbering.
inline int rentWeekday(const QDate& day) {
    return day.dayOfWeek() % 7 + 1;
}
// Monday = 1 … Sunday = 7 (the timetable's weekday) to the facilities numbering.
inline int rentWeekdayOf(int weekday) {
    return weekday == 7 ? 1 : weekday + 1;
}

} // namespace dudodu::engine::demo
