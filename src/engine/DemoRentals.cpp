// The facilities database's semester windows and rentals, and the students' course selections.
// Timetable rentals are written exactly as the client's timetable transfer writes them: one master
// row per run of consecutive periods of a room's times, one list row per day of the window on that
// weekday and per rent time.
#include "engine/DemoModel.h"

#include <set>

namespace dudodu::engine::demo {
namespace {

class RentNumbers {
  public:
    explicit RentNumbers(Rng& rng) : m_rng(rng) {}
    QString next(const Semester& sem) {
        for (;;) {
            const qint64 number =
                qint64(sem.year) * 1000000 + qint64(sem.semester) * 100000 + m_rng.below(100000);
            if (m_used.insert(number).second) return QString::number(number);
        }
    }

  private:
    Rng& m_rng;
    std::set<qint64> m_used;
};

struct RentWriter {
    Inserter master;
    Inserter list;
    explicit RentWriter(sqlite3* db)
        : master(
              db,
              "INSERT INTO GADEP.RMR_Rent_master (rent_no, rent_dept, rent_person, ask_date, con_tel, rem, "
              "room_id_no, rent_date_week, rent_start_date, rent_end_date, rent_start_time, rent_end_time, "
              "room_man, input_date, input_seq, rent_ym, sysrem, SUBJECT_GROUP, rent_status) "
              "VALUES (?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?)"),
          list(db, "INSERT INTO GADEP.RMR_Rent_list (room_id_no, rent_date, rent_time, rent_no) VALUES "
                   "(?,?,?,?)") {}
};

// The runs of one class-time list: times in list order on one weekday with rising periods.
std::vector<std::pair<int, std::pair<int, int>>> runsOf(const RoomUse& use) {
    std::vector<std::pair<int, std::pair<int, int>>> runs; // weekday, first, last
    for (const auto& [day, period] : use.times) {
        if (!runs.empty() && runs.back().first == day && runs.back().second.second + 1 == period)
            runs.back().second.second = period;
        else
            runs.push_back({day, {period, period}});
    }
    return runs;
}

void writeTimetableRentals(const Semester& sem, RentWriter& w, RentNumbers& numbers) {
    // The window's days by timetable weekday (Monday 1 … Sunday 7).
    std::vector<QString> days[8];
    for (QDate d = sem.start; d <= sem.end; d = d.addDays(1))
        days[d.dayOfWeek()].push_back(dayText(d));
    const QString ym = QString::number(sem.year) + QString::number(sem.semester);
    const QString sysrem = ym + QStringLiteral("課表");
    const QString start = dayText(sem.start), end = dayText(sem.end);
    for (const Offering& o : sem.offerings) {
        if (o.member) continue;
        for (const RoomUse& use : o.rooms) {
            if (use.name.isEmpty() || use.times.empty() || use.times.front().first < 1) continue;
            int seq = 0;
            for (const auto& [day, range] : runsOf(use)) {
                const QString rentNo = numbers.next(sem);
                w.master.row({rentNo, "課務組", "課表", o.crDate, "2124", "課表轉檔", use.room,
                              rentWeekdayOf(day), start, end, range.first + 5, range.second + 6, "qv",
                              o.crDate, ++seq, ym, sysrem, o.group, "核准"});
                for (const QString& date : days[day])
                    for (int t = range.first + 5; t <= range.second + 5; ++t)
                        w.list.row({use.room, date, t, rentNo});
            }
        }
    }
}

// Rentals of lecture halls and classrooms for events; some cancelled, some on the timetable's
// times of the design semester so that the room-rental check has something to report.
void writeEventRentals(Demo& demo, const Semester& sem, RentWriter& w, RentNumbers& numbers) {
    static const char* const remarks[] = {"研討會", "演講", "社團活動",  "系學會活動",
                                          "補課",   "考試", "招生說明會"};
    Rng& rng = demo.rng;
    const QString ym = QString::number(sem.year) + QString::number(sem.semester);
    const int windowDays = int(sem.start.daysTo(sem.end));
    auto write = [&](const Room& room, const QDate& first, int weeks, int startPeriod, int length,
                     bool approved) {
        const QString rentNo = numbers.next(sem);
        const Unit& unit = demo.units[size_t(rng.below(int(demo.units.size())))];
        const Teacher& person = rng.pick(demo.teachers);
        const QDate last = first.addDays(7 * (weeks - 1));
        const QString asked = timeText(first.addDays(-rng.between(3, 30)), rng.between(8 * 60, 17 * 60));
        w.master.row({rentNo, unit.name, person.name, asked, QString::number(rng.between(1000, 9999)),
                      remarks[rng.below(int(std::size(remarks)))], room.id, rentWeekday(first),
                      dayText(first), dayText(last), startPeriod + 5, startPeriod + length + 5, "總務處",
                      asked, 1, ym, "", nullptr, approved ? "核准" : "取消"});
        for (int week = 0; week < weeks; ++week)
            for (int t = startPeriod + 5; t < startPeriod + length + 5; ++t)
                w.list.row({room.id, dayText(first.addDays(7 * week)), t, rentNo});
    };

    const int events = demo.scaled(400, 20);
    for (int e = 0; e < events; ++e) {
        const Room& room = demo.rooms[size_t(rng.below(int(demo.rooms.size()) - 4))];
        const QDate first = sem.start.addDays(rng.between(0, windowDays));
        const int weeks =
            rng.chance(0.2) ? std::min(rng.between(2, 6), 1 + int(first.daysTo(sem.end) / 7)) : 1;
        const int length = rng.between(1, 4);
        write(room, first, weeks, rng.between(1, 16 - length + 1), length, !rng.chance(0.15));
    }
    if (sem.year != kDesignYear || sem.semester != kDesignSemester) return;
    const int clashes = demo.scaled(30, 3);
    for (int c = 0, tries = 0; c < clashes && tries < 1000; ++tries) {
        const Offering& o = sem.offerings[size_t(rng.below(int(sem.offerings.size())))];
        if (o.member || o.status != 2 || o.rooms.empty() || o.rooms[0].room <= 0) continue;
        const auto [day, period] = o.rooms[0].times.front();
        const auto room = std::find_if(demo.rooms.begin(), demo.rooms.end(),
                                       [&](const Room& r) { return r.id == o.rooms[0].room; });
        const QDate first = sem.start.addDays((day - sem.start.dayOfWeek() + 7) % 7 + 7 * rng.between(1, 15));
        write(*room, first, 1, period, 1, true);
        ++c;
    }
}

} // namespace

void writeRentals(Demo& demo) {
    Inserter window(demo.db, "INSERT INTO GADEP.RMR_YEARSEME (YEAR, SEME, SDATE, EDATE) VALUES (?,?,?,?)");
    RentWriter writer(demo.db);
    RentNumbers numbers(demo.rng);
    for (const Semester& sem : demo.semesters) {
        window.row({sem.year, sem.semester, dayText(sem.start), dayText(sem.end)});
        writeTimetableRentals(sem, writer, numbers);
        writeEventRentals(demo, sem, writer, numbers);
        demo.progress(0.7 + 0.05 * double(&sem - demo.semesters.data() + 1),
                      QStringLiteral("講堂借用 %1-%2").arg(sem.year).arg(sem.semester));
    }
}

void writeSelections(Demo& demo) {
    Inserter current(demo.db,
                     "INSERT INTO VELM_DBASE.SUBJSELE_CURRENT (rsele_serno, year, semester, student_id, "
                     "subject_id, rsubj_serno, sorder, sub_score) VALUES (?,?,?,?,?,?,?,?)");
    Inserter history(demo.db,
                     "INSERT INTO VELM_DBASE.SUBJSELE_HISTORY (rsele_serno, year, semester, student_id, "
                     "subject_id, rsubj_serno, sorder, sub_score) VALUES (?,?,?,?,?,?,?,?)");
    Rng& rng = demo.rng;
    qint64 serial = 1;
    for (const Semester& sem : demo.semesters) {
        // Past semesters are graded history; the running one is current; of the semester being
        // designed only a few offerings already have (pre-)selections.
        const bool past = sem.year < kDesignYear;
        const bool designing = sem.year == kDesignYear && sem.semester == kDesignSemester;
        Inserter& target = past ? history : current;
        for (const Offering& o : sem.offerings) {
            // Cancelled offerings keep the selections made before they were cancelled, ungraded.
            if ((o.status == 1 && !rng.chance(0.4)) || (designing && !rng.chance(0.03))) continue;
            const Subject& s = demo.subjects[size_t(o.subject)];
            const Unit& u = demo.units[size_t(o.unit)];
            const bool graduate = s.cls == 'M' || s.cls == 'W' || s.cls == 'P';
            const int wanted = std::min(o.limit, graduate ? rng.between(2, 15) : rng.between(5, 45));
            const char prefix = s.cls == 'P' ? '8' : graduate ? '6' : '4';
            const int entry = sem.year - (graduate ? rng.below(2) : std::max(0, s.grade - 1));
            std::set<int> taken;
            for (int k = 0; k < wanted; ++k) {
                const int number = rng.between(1, 180);
                if (!taken.insert(number).second) continue;
                const QString student = QStringLiteral("%1%2%3%4")
                                            .arg(QLatin1Char(prefix))
                                            .arg(entry)
                                            .arg(u.depSer % 100, 2, 10, QLatin1Char('0'))
                                            .arg(number, 3, 10, QLatin1Char('0'));
                QString score;
                if (o.status != 1 && (past ? !rng.chance(0.07) : (!designing && rng.chance(0.05))))
                    score = QString::number(rng.between(40, 99));
                target.row({serial++, sem.year, sem.semester, student, o.subjectId, o.serial,
                            rng.between(1, 15), score});
            }
        }
    }
}

} // namespace dudodu::engine::demo
