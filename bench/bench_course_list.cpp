// The course-list statement sequence of the largest demo department: one list query, then per
// offering its teacher query and its room query, as the client sends them. Measured through the
// engine (tokenize, cached translation, bind, step) and as raw prepared SQLite for the same work,
// so the ratio shows what the translation layer costs.
//
// Uses the demo database in $DUDODU_BENCH_DB, or creates one at scale 1 in a temporary folder.
#include "BenchDemo.h"

#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <sqlite3.h>

using namespace dudodu::engine;

namespace {

struct Fixture {
    QTemporaryDir temp;
    std::unique_ptr<Engine> engine;
    QString department;
    int year = 0, semester = 0;
    int offerings = 0;

    Fixture() {
        const QString dir = dudodu::bench::demoFolder(temp);
        QString error;
        engine = Engine::open(dir, &error);
        if (!engine) qFatal("open: %s", qPrintable(error));
        const dudodu::bench::Department d = dudodu::bench::largestDepartment(*engine);
        department = d.code;
        year = d.year;
        semester = d.semester;
        offerings = d.offerings;
    }

    QString listQuery() const { return dudodu::bench::listQuery({department, year, semester, offerings}); }
};

Fixture& fixture() {
    static Fixture f;
    return f;
}

void BM_CourseListThroughEngine(benchmark::State& state) {
    Fixture& f = fixture();
    const QString list = f.listQuery();
    for (auto _ : state) {
        const BatchResult r = f.engine->execute(list);
        for (const QVariantList& row : r.results[0].rows) {
            const QString g = QString::number(row[1].toLongLong());
            benchmark::DoNotOptimize(f.engine->execute(
                "select a.TCHER_NO, a.TCHER_NAME as t1_name, b.TCHER_CNAME as t2_name from "
                "VELM_DBASE..SEMETEACHER a "
                "left join VELM_DBASE..DN_tcher_mnger b on (a.tcher_no=b.tcher_no) where a.SUBJECT_GROUP=" +
                g + " order by seq"));
            benchmark::DoNotOptimize(f.engine->execute("select room_id_no, classroom, weekday, classno, "
                                                       "location from VELM_DBASE..SEMECLASSROOM where "
                                                       "SUBJECT_GROUP=" +
                                                       g + " order by room_id_no,weekday,classno"));
        }
    }
    state.counters["offerings"] = f.offerings;
}

// The same rows fetched with hand-written SQLite statements prepared once.
void BM_CourseListRawSqlite(benchmark::State& state) {
    Fixture& f = fixture();
    sqlite3* db = f.engine->handle();
    sqlite3_stmt *list = nullptr, *teachers = nullptr, *rooms = nullptr;
    sqlite3_prepare_v2(
        db,
        "SELECT RSUBJ_SERNO,SUBJECT_GROUP, DEPYR_CODE, SUBJECT_ID,MUST,DEPARTMENT,YEAR,SEMESTER,"
        "SUBJ_MODE,\"LIMIT\",S_NAME,CREDIT,HOUR,LAB,E_NAME,BELONG,BELONG_DEPYR_CODE,WORK_PLACE,NOTE,"
        "EP_FIELD,SEME_ENG,ifnull(program_id,-1),ifnull(SUBJECT_SYSNO,-1),PRE_DEPYRCODE,IsEval,status,"
        "IsExpand,ifnull(FromYear,0),ifnull(FromDEP,''),ifnull(salarygroup,0),ifnull(evalgroup,0),"
        "CRS_DEPYR_CODE,Term_id,TERM,SUBJECT_ID_SEC,rule_rel,SUBJ_KIND FROM VELM_DBASE.SEMESUBJECT "
        "where DEPARTMENT=?1 and YEAR=?2 and SEMESTER=?3 ORDER BY substr(WORK_PLACE,1,1) DESC,"
        "substr(WORK_PLACE,2,100),subject_id",
        -1, &list, nullptr);
    sqlite3_prepare_v2(
        db,
        "select a.TCHER_NO, a.TCHER_NAME, b.TCHER_CNAME from VELM_DBASE.SEMETEACHER a left join "
        "VELM_DBASE.DN_tcher_mnger b on (a.tcher_no=b.tcher_no) where a.SUBJECT_GROUP=?1 order by seq",
        -1, &teachers, nullptr);
    sqlite3_prepare_v2(
        db,
        "select room_id_no, classroom, weekday, classno, location from VELM_DBASE.SEMECLASSROOM where "
        "SUBJECT_GROUP=?1 order by room_id_no,weekday,classno",
        -1, &rooms, nullptr);
    const QByteArray dep = f.department.toUtf8();
    auto drain = [](sqlite3_stmt* st) {
        int n = 0;
        while (sqlite3_step(st) == SQLITE_ROW)
            for (int i = 0; i < sqlite3_column_count(st); ++i, ++n)
                benchmark::DoNotOptimize(sqlite3_column_text(st, i));
        sqlite3_reset(st);
        return n;
    };
    for (auto _ : state) {
        sqlite3_bind_text(list, 1, dep.constData(), -1, SQLITE_STATIC);
        sqlite3_bind_int(list, 2, f.year);
        sqlite3_bind_int(list, 3, f.semester);
        QList<qint64> groups;
        while (sqlite3_step(list) == SQLITE_ROW) {
            for (int i = 0; i < sqlite3_column_count(list); ++i)
                benchmark::DoNotOptimize(sqlite3_column_text(list, i));
            groups << sqlite3_column_int64(list, 1);
        }
        sqlite3_reset(list);
        for (qint64 g : groups) {
            sqlite3_bind_int64(teachers, 1, g);
            drain(teachers);
            sqlite3_bind_int64(rooms, 1, g);
            drain(rooms);
        }
    }
    sqlite3_finalize(list);
    sqlite3_finalize(teachers);
    sqlite3_finalize(rooms);
    state.counters["offerings"] = f.offerings;
}

} // namespace

BENCHMARK(BM_CourseListThroughEngine)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CourseListRawSqlite)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
