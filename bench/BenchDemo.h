// What the benchmarks share: the demo database they run on and its largest department.
#pragma once

#include "engine/DemoData.h"
#include "engine/Engine.h"

#include <QTemporaryDir>

namespace dudodu::bench {

// The demo database in $DUDODU_BENCH_DB, or one made at the given scale in temp.
inline QString demoFolder(const QTemporaryDir& temp, double scale = 1.0) {
    QString folder = qEnvironmentVariable("DUDODU_BENCH_DB");
    if (!folder.isEmpty()) return folder;
    folder = temp.filePath(QStringLiteral("demo"));
    engine::DemoOptions options;
    options.scale = scale;
    QString error;
    if (!engine::createDemoDatabase(folder, options, &error)) qFatal("demo database: %s", qPrintable(error));
    return folder;
}

// The department with the most offerings in one year and semester.
struct Department {
    QString code;
    int year = 0, semester = 0, offerings = 0;
};

inline Department largestDepartment(engine::Engine& engine) {
    const engine::BatchResult r =
        engine.execute("select top 1 DEPARTMENT, YEAR, SEMESTER, count(*) from VELM_DBASE..SEMESUBJECT "
                       "group by DEPARTMENT, YEAR, SEMESTER order by count(*) desc");
    if (!r.ok() || r.results.isEmpty() || r.results[0].rows.isEmpty())
        qFatal("no offerings: %s", qPrintable(r.error));
    const QVariantList row = r.results[0].rows[0];
    return {row[0].toString(), row[1].toInt(), row[2].toInt(), row[3].toInt()};
}

inline Department largestDepartment(const QString& folder) {
    QString error;
    auto engine = engine::Engine::open(folder, &error);
    if (!engine) qFatal("open %s: %s", qPrintable(folder), qPrintable(error));
    return largestDepartment(*engine);
}

// The offering query of the department's course list, as the main window sends it (office user).
inline QString listQuery(const Department& d) {
    return QStringList{
        "SELECT RSUBJ_SERNO,SUBJECT_GROUP, DEPYR_CODE, "
        "SUBJECT_ID,MUST,DEPARTMENT,YEAR,SEMESTER,SUBJ_MODE,LIMIT,"
        "S_NAME,CREDIT,HOUR,LAB,E_NAME,BELONG,BELONG_DEPYR_CODE,WORK_PLACE,NOTE,EP_FIELD,SEME_ENG,"
        "isnull(program_id,-1) as program_id, isnull(SUBJECT_SYSNO,-1) as "
        "SUBJECT_SYSNO,PRE_DEPYRCODE,IsEval,"
        "status, IsExpand, isnull(FromYear,0) as FromYear, isnull(FromDEP,'') as FromDEP, "
        "isnull(salarygroup, 0) "
        "as salarygroup, isnull(evalgroup, 0) as "
        "evalgroup,CRS_DEPYR_CODE,Term_id,TERM,SUBJECT_ID_SEC,rule_rel,"
        "SUBJ_KIND  FROM VELM_DBASE..SEMESUBJECT",
        "where DEPARTMENT='" + d.code + "'",
        QStringLiteral(" and YEAR=%1 and SEMESTER=%2").arg(d.year).arg(d.semester),
        "ORDER BY SUBSTRING(WORK_PLACE,1,1) DESC,SUBSTRING(WORK_PLACE,2,100),subject_id"}
        .join('\n');
}

} // namespace dudodu::bench
