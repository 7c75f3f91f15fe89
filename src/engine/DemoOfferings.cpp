// Four semesters of offerings: each offered subject gets a class, teachers, rooms and weekly times
// without collisions; then a few combined classes and a few genuine collisions (one room or one
// teacher in two groups at the same time) are made for the inspections to find.
#include "engine/DemoModel.h"

#include <algorithm>
#include <set>

namespace dudodu::engine::demo {
namespace {

constexpr int kDays = 8; // weekday 1..7

// Busy periods of rooms or teachers: one bit per period, per weekday.
class Occupancy {
  public:
    explicit Occupancy(size_t count) : m_bits(count * kDays, 0) {}
    bool free(size_t who, int day, int first, int length) const {
        return !(m_bits[who * kDays + size_t(day)] & mask(first, length));
    }
    void take(size_t who, int day, int first, int length) {
        m_bits[who * kDays + size_t(day)] |= mask(first, length);
    }

  private:
    static quint32 mask(int first, int length) { return ((1u << length) - 1u) << first; }
    std::vector<quint32> m_bits;
};

struct Run {
    int day, first, length;
};

class SemesterBuilder {
  public:
    SemesterBuilder(Demo& demo, Semester& semester, const std::map<int, QString>& firstHalfSerials)
        : m_demo(demo), m_sem(semester), m_rooms(demo.rooms.size()), m_teachers(demo.teachers.size()),
          m_firstHalf(firstHalfSerials), m_isFirstHalf(demo.subjects.size(), false) {
        for (const Subject& s : demo.subjects)
            if (s.partner >= 0) m_isFirstHalf[size_t(s.partner)] = true;
    }

    void build() {
        for (size_t i = 0; i < m_demo.subjects.size(); ++i) {
            const Subject& s = m_demo.subjects[i];
            if (s.semester != 0 && s.semester != m_sem.semester) continue;
            if (!s.special && !m_demo.rng.chance(0.93)) continue;
            if (s.sections > 1) {
                for (int k = 0; k < s.sections; ++k)
                    addOffering(int(i), k + 1);
            } else {
                addOffering(int(i), 0);
            }
        }
        makeCombinedClasses();
        makeCollisions();
    }

    std::map<int, QString> firstHalves() const { return m_servedFirstHalves; }

  private:
    qint64 newSerial() {
        for (;;) {
            const qint64 serial =
                qint64(m_sem.year) * 1000000 + qint64(m_sem.semester) * 100000 + m_demo.rng.below(100000);
            if (m_serials.insert(serial).second) return serial;
        }
    }

    void addOffering(int subjectIndex, int section) {
        Rng& rng = m_demo.rng;
        const Subject& s = m_demo.subjects[size_t(subjectIndex)];
        const Unit& u = m_demo.units[size_t(s.unit)];
        const ClassNode* cls = subjectClass(m_demo, s, m_sem.year);
        if (!cls) return;
        Offering o;
        o.serial = o.group = newSerial();
        o.year = m_sem.year;
        o.semester = m_sem.semester;
        o.unit = s.unit;
        o.subject = subjectIndex;
        o.depyrCode = cls->code;
        o.crsDepyr = cls->code;
        o.subjKind = QString(QLatin1Char(cls->dtype));
        o.workPlace = subjectWorkPlace(s, u);
        o.subjectId = s.code();
        o.name = s.name;
        if (section > 0) {
            const QString suffix = QString(QLatin1Char(char('A' + (section - 1) / 26))) +
                                   QLatin1Char(char('A' + (section - 1) % 26));
            o.subjectId = s.base + suffix;
            o.name += suffix;
            o.isExpand = 1;
        }
        o.subjectIdSec =
            s.base + (o.workPlace == QStringLiteral("碩專") ? QLatin1Char('Z') : QLatin1Char('0'));
        o.englishName = s.englishName;
        o.must = s.must;
        o.credit = s.credit;
        o.hours = s.hours;
        o.lab = s.lab;
        o.salary = s.salary;
        o.eval = s.eval;
        o.epField = s.epType;
        o.belong = u.code;
        o.belongDepyr = cls->code;
        setLimit(o, s, u);
        o.semeEng = rng.chance(cls->dtype == 'B' ? 0.05 : 0.15) ? 1 : 2;

        if (s.sysno >= 0) {
            o.subjectSysno = s.sysno;
            const auto link = m_demo.ruleLinks.find({m_sem.year, s.sysno});
            if (link != m_demo.ruleLinks.end()) {
                o.programId = link->second.first;
                o.ruleRel = QString::number(link->second.second);
            }
            o.preDepyr = cls->code;
            o.fromYear = m_sem.year;
        } else {
            o.preDepyr = u.code;
            o.fromYear = kLegacyRuleYear;
            for (int p : s.prerequisites)
                o.oldPrerequisites << m_demo.subjects[size_t(p)].name;
        }
        o.fromDep = u.code;

        // Served class: now and then another unit's bachelor class.
        if (cls->dtype == 'B' && u.kind == UnitKind::Department && rng.chance(0.06)) {
            const Unit& other = m_demo.units[size_t(rng.below(int(m_demo.units.size())))];
            const ClassNode* served = other.classOf(m_sem.year, 'B', QStringLiteral("01"));
            if (served && other.code != u.code && other.kind == UnitKind::Department) {
                o.belong = other.code;
                o.belongDepyr = served->code;
                o.note = QStringLiteral("支援") + other.name + served->name;
            }
        } else if (rng.chance(0.04)) {
            o.note =
                rng.chance(0.5) ? QStringLiteral("限本系學生修習") : QStringLiteral("第一次上課請攜帶講義");
        }

        // Year-long subjects: the first half links to itself, the second half to the first.
        o.termId = QStringLiteral("0");
        o.term = QString::number(o.serial);
        if (m_isFirstHalf[size_t(subjectIndex)] && m_sem.semester == 1) {
            o.termId = QStringLiteral("1");
            m_servedFirstHalves[subjectIndex] = o.term;
        } else if (s.partner >= 0) {
            const auto first = m_firstHalf.find(s.partner);
            if (first != m_firstHalf.end()) {
                o.termId = QStringLiteral("2");
                o.term = first->second;
            }
        }
        if (!s.sui.isEmpty()) {
            o.flagS = o.flagU = QStringLiteral("T");
            o.flagI = s.sui == QLatin1String("SUI") ? QStringLiteral("T") : QStringLiteral("F");
        }
        for (int sphere : s.spheres)
            if (sphere)
                o.fields.push_back({QString::number(sphere), m_demo.spheres[size_t(sphere - 1)].second});
        chooseStatus(o, s, u);
        setDates(o, u);
        addFeatured(o);
        placeTeachersAndRooms(o, s, u, *cls);
        o.isEval = (o.teachers.size() >= 3 || o.salary == 3 || o.salary == 4 || o.salary == 8) ? 2 : 1;
        m_sem.offerings.push_back(std::move(o));
    }

    void setLimit(Offering& o, const Subject& s, const Unit& u) {
        Rng& rng = m_demo.rng;
        if (rng.chance(0.45) || s.special) {
            o.subjMode = QStringLiteral("0");
            o.limit = 999;
            return;
        }
        o.subjMode = QString::number(rng.between(1, 13));
        static const int bachelor[] = {40, 50, 60, 60, 70, 80, 100, 120};
        if (u.kind == UnitKind::GeneralEd)
            o.limit = u.code == QLatin1String("LC__") ? 35 : u.code == QLatin1String("PEC_") ? 40 : 100;
        else if (s.cls == 'B' || s.cls == 'E')
            o.limit = bachelor[rng.below(int(std::size(bachelor)))];
        else
            o.limit = 10 + 5 * rng.below(5);
    }

    void chooseStatus(Offering& o, const Subject& s, const Unit& u) {
        Rng& rng = m_demo.rng;
        const double r = rng.unit();
        o.status = 2;
        if (r < 0.04)
            o.status = 1;
        else if (r < 0.06)
            o.status = 3;
        else if (r < 0.075 && u.kind == UnitKind::GeneralEd)
            o.status = 4;
        else if (m_sem.semester == 1 && s.cls == 'B' && s.grade == 1 && r < 0.3)
            o.status = 5;
    }

    void setDates(Offering& o, const Unit& u) {
        Rng& rng = m_demo.rng;
        const QDate created = m_sem.start.addDays(-rng.between(60, 120));
        o.crDate = timeText(created, rng.between(8 * 60, 17 * 60));
        o.crUser = rng.chance(0.3) ? QStringLiteral("office") : u.code;
        if (rng.chance(0.25)) {
            o.mdDate = timeText(created.addDays(rng.between(1, 40)), rng.between(8 * 60, 17 * 60));
            o.mdUser = rng.chance(0.5) ? QStringLiteral("office") : u.code;
        }
    }

    void addFeatured(Offering& o) {
        Rng& rng = m_demo.rng;
        if (!rng.chance(0.06) || m_demo.featuredItems.empty()) return;
        const int count = rng.between(1, 2);
        for (int k = 0; k < count; ++k) {
            const QString item = rng.chance(0.35) ? m_demo.featuredItems[8] : rng.pick(m_demo.featuredItems);
            if (!o.featured.contains(item)) o.featured << item;
        }
        if (o.featured.contains(m_demo.featuredItems[8])) {
            const int subs = rng.between(1, 3);
            for (int k = 0; k < subs; ++k) {
                const QString sub = rng.pick(m_demo.featuredSubItems);
                if (!o.featuredSub.contains(sub)) o.featuredSub << sub;
            }
        }
    }

    // Teachers of the unit (a college's courses are taught by its departments' teachers).
    std::vector<int> teacherPool(const Unit& u) const {
        std::vector<int> pool = u.teachers;
        if (u.kind == UnitKind::College) {
            const int self = m_demo.unitIndex(u.code);
            for (const Unit& d : m_demo.units)
                if (d.college == self) pool.insert(pool.end(), d.teachers.begin(), d.teachers.end());
        }
        return pool;
    }

    std::vector<Run> runsFor(const Offering& o, const Subject& s, const ClassNode& cls) {
        Rng& rng = m_demo.rng;
        int total = int(o.hours + 0.5) + o.lab;
        if (total <= 0) total = 2;
        std::vector<int> lengths;
        if (total <= 3)
            lengths = {total};
        else if (total == 4)
            lengths = {2, 2};
        else
            lengths = {3, total - 3};
        const bool evening = cls.s1class == QLatin1String("WS") || cls.s1class == QLatin1String("TA");
        std::vector<Run> runs;
        for (int length : lengths) {
            Run r{};
            r.length = std::min(length, 4);
            if (evening) {
                const bool saturday = cls.s1class == QLatin1String("WS") && rng.chance(0.4);
                r.day = saturday ? 6 : rng.between(1, 5);
                r.first = saturday ? rng.between(1, 8 - r.length + 1) : rng.between(11, 14 - r.length + 1);
            } else {
                static const std::vector<int> starts[] = {
                    {}, {1, 2, 3, 4, 5, 6, 7, 8, 9}, {1, 2, 3, 5, 6, 7, 8}, {1, 2, 5, 6, 7}, {1, 5, 6}};
                r.day = rng.between(1, 5);
                r.first = rng.pick(starts[r.length]);
            }
            for (const Run& other : runs)
                if (other.day == r.day) r.day = r.day % 5 + 1; // two runs of a subject fall on different days
            runs.push_back(r);
        }
        Q_UNUSED(s);
        return runs;
    }

    bool teachersFree(const std::vector<size_t>& teachers, const Run& r) const {
        for (size_t t : teachers)
            if (!m_teachers.free(t, r.day, r.first, r.length)) return false;
        return true;
    }

    // Rooms of the right kind and size, on the unit's campus or on any campus.
    std::vector<int> roomCandidates(const Offering& o, const Subject& s, const Unit& u,
                                    bool anyCampus) const {
        std::vector<int> candidates;
        for (size_t i = 0; i < m_demo.rooms.size(); ++i) {
            const Room& room = m_demo.rooms[i];
            if (room.kind != s.roomKind || room.kind == 3) continue;
            if (!anyCampus && room.location != u.location && room.kind != 2) continue;
            if (o.limit < 999 && room.capacity > 0 && room.capacity < o.limit) continue;
            candidates.push_back(int(i));
        }
        if (candidates.empty())
            for (size_t i = 0; i < m_demo.rooms.size(); ++i)
                if (m_demo.rooms[i].kind == 0) candidates.push_back(int(i));
        return candidates;
    }

    // A free candidate for the run, looked for from a random place on; -1 when all are taken.
    int findRoom(const std::vector<int>& candidates, const Run& r, int preferred) {
        if (preferred >= 0 && m_rooms.free(size_t(preferred), r.day, r.first, r.length)) return preferred;
        const size_t offset = size_t(m_demo.rng.below(int(candidates.size())));
        for (size_t k = 0; k < candidates.size(); ++k) {
            const int room = candidates[(offset + k) % candidates.size()];
            if (m_rooms.free(size_t(room), r.day, r.first, r.length)) return room;
        }
        return -1;
    }

    void placeTeachersAndRooms(Offering& o, const Subject& s, const Unit& u, const ClassNode& cls) {
        Rng& rng = m_demo.rng;
        const std::vector<int> pool = teacherPool(u);
        int teacherCount = 1;
        const double r = rng.unit();
        if (r < 0.03)
            teacherCount = 3;
        else if (r < 0.16)
            teacherCount = 2;
        const bool toBeHired = rng.chance(0.015) || pool.empty();
        auto drawTeachers = [&] {
            std::vector<size_t> chosen;
            for (int k = 0; !toBeHired && k < teacherCount; ++k) {
                const size_t t = size_t(rng.pick(pool));
                if (std::find(chosen.begin(), chosen.end(), t) == chosen.end()) chosen.push_back(t);
            }
            return chosen;
        };
        if (s.special) {
            o.rooms.push_back({-1, QStringLiteral("其他"), 3, {{s.special, -1}}});
            setTeachers(o, drawTeachers());
            return;
        }
        const std::vector<int> local = roomCandidates(o, s, u, false);
        const std::vector<int> wide = roomCandidates(o, s, u, true);
        std::vector<size_t> chosen;
        std::vector<Run> runs;
        std::vector<int> rooms;
        bool placed = false;
        for (int attempt = 0; attempt < 150 && !placed; ++attempt) {
            chosen = drawTeachers();
            runs = runsFor(o, s, cls);
            placed = std::all_of(runs.begin(), runs.end(),
                                 [&](const Run& run) { return teachersFree(chosen, run); });
            rooms.clear();
            for (size_t k = 0; placed && s.roomKind != 3 && k < runs.size(); ++k) {
                const int room =
                    findRoom(attempt < 60 ? local : wide, runs[k], rooms.empty() ? -1 : rooms.back());
                placed = room >= 0;
                rooms.push_back(room);
            }
        }
        if (!placed) { // a crowded campus: the last try's rooms, taken or not (a rare accidental collision)
            if (s.roomKind != 3) rooms.assign(runs.size(), local.front());
        }
        setTeachers(o, chosen);
        assignRooms(o, runs, rooms);
        for (size_t k = 0; k < runs.size(); ++k) {
            for (size_t t : chosen)
                m_teachers.take(t, runs[k].day, runs[k].first, runs[k].length);
            if (!rooms.empty()) m_rooms.take(size_t(rooms[k]), runs[k].day, runs[k].first, runs[k].length);
        }
    }

    void setTeachers(Offering& o, const std::vector<size_t>& chosen) {
        o.teachers.clear();
        for (size_t t : chosen)
            o.teachers.push_back({m_demo.teachers[t].number, m_demo.teachers[t].name});
        if (o.teachers.empty()) o.teachers.push_back({-1, QStringLiteral("待聘")});
    }

    // One class-time list per room, its times weekday by weekday, periods ascending (as the
    // classroom picker adds them).
    void assignRooms(Offering& o, const std::vector<Run>& runs, const std::vector<int>& rooms) {
        for (size_t k = 0; k < runs.size(); ++k) {
            RoomUse* use = nullptr;
            if (rooms.empty()) { // a place typed as free text
                if (o.rooms.empty()) o.rooms.push_back({-1, QStringLiteral("實習學校"), 3, {}});
                use = &o.rooms.front();
            } else {
                const Room& room = m_demo.rooms[size_t(rooms[k])];
                for (RoomUse& existing : o.rooms)
                    if (existing.room == room.id) use = &existing;
                if (!use) {
                    o.rooms.push_back({room.id, room.name, room.location, {}});
                    use = &o.rooms.back();
                }
            }
            for (int p = 0; p < runs[k].length; ++p)
                use->times.push_back({runs[k].day, runs[k].first + p});
        }
        for (RoomUse& use : o.rooms)
            std::sort(use.times.begin(), use.times.end());
    }

    bool plain(const Offering& o) const {
        return o.status == 2 && !o.member && o.group == o.serial && !o.rooms.empty() && o.rooms[0].room > 0 &&
               o.rooms[0].times[0].first > 0 && o.isExpand == 2;
    }

    int pickPlain(int tries = 50) {
        for (int k = 0; k < tries; ++k) {
            const int i = m_demo.rng.below(int(m_sem.offerings.size()));
            if (plain(m_sem.offerings[size_t(i)]) && !m_touched.count(i)) return i;
        }
        return -1;
    }

    // Offerings of one unit for different classes taught together: the others join the first's group.
    void makeCombinedClasses() {
        const int groups = m_demo.scaled(25, 2);
        for (int g = 0; g < groups; ++g) {
            const int head = pickPlain();
            if (head < 0) return;
            const int members = m_demo.rng.chance(0.3) ? 2 : 1;
            int joined = 0;
            for (int k = 0; k < 200 && joined < members; ++k) {
                const int i = m_demo.rng.below(int(m_sem.offerings.size()));
                Offering& m = m_sem.offerings[size_t(i)];
                const Offering& h = m_sem.offerings[size_t(head)];
                if (i == head || !plain(m) || m_touched.count(i) || m.unit != h.unit) continue;
                m.group = h.group;
                m.member = true;
                m.teachers.clear();
                m.rooms.clear();
                m.fields.clear();
                m.oldPrerequisites.clear();
                m_touched.insert(i);
                ++joined;
            }
            m_touched.insert(head);
        }
    }

    void makeCollisions() {
        const int count = m_demo.scaled(12, 2);
        for (int c = 0; c < count; ++c) {
            // One room at the same time in two groups.
            const int x = pickPlain(), y = pickPlain();
            if (x >= 0 && y >= 0 && x != y) {
                m_sem.offerings[size_t(y)].rooms = {m_sem.offerings[size_t(x)].rooms[0]};
                m_touched.insert(x);
                m_touched.insert(y);
            }
            // One teacher at the same time in two rooms.
            const int a = pickPlain(), b = pickPlain();
            if (a < 0 || b < 0 || a == b) continue;
            Offering& first = m_sem.offerings[size_t(a)];
            Offering& second = m_sem.offerings[size_t(b)];
            if (first.teachers[0].first < 0 || first.rooms[0].room == second.rooms[0].room) continue;
            RoomUse use = second.rooms[0];
            use.times = first.rooms[0].times;
            second.rooms = {use};
            second.teachers[0] = first.teachers[0];
            if (second.teachers.size() > 1 && second.teachers[1].first == first.teachers[0].first)
                second.teachers.resize(1);
            m_touched.insert(a);
            m_touched.insert(b);
        }
    }

    Demo& m_demo;
    Semester& m_sem;
    Occupancy m_rooms, m_teachers;
    const std::map<int, QString>& m_firstHalf;
    std::vector<bool> m_isFirstHalf;
    std::map<int, QString> m_servedFirstHalves;
    std::set<qint64> m_serials;
    std::set<int> m_touched;
};

// Monday on or after the given day.
QDate mondayFrom(const QDate& day) {
    return day.addDays((8 - day.dayOfWeek()) % 7);
}

} // namespace

void buildOfferings(Demo& demo) {
    const std::pair<int, int> terms[] = {{114, 1}, {114, 2}, {115, 1}, {115, 2}};
    std::map<int, QString> firstHalves;
    for (const auto& [year, semester] : terms) {
        Semester sem;
        sem.year = year;
        sem.semester = semester;
        // Semester 1 from mid-September to mid-January, semester 2 from mid-February to late June.
        sem.start =
            semester == 1 ? mondayFrom(QDate(year + 1911, 9, 14)) : mondayFrom(QDate(year + 1912, 2, 16));
        sem.end = sem.start.addDays(17 * 7 + 4);
        demo.semesters.push_back(std::move(sem));
        SemesterBuilder builder(demo, demo.semesters.back(), firstHalves);
        builder.build();
        if (semester == 1) firstHalves = builder.firstHalves();
        demo.progress(0.25 + 0.1 * double(demo.semesters.size()),
                      QStringLiteral("開課資料 %1-%2").arg(year).arg(semester));
    }
}

} // namespace dudodu::engine::demo
