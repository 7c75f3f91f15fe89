// The demo database (consistency, rentals, accounts, the collisions the inspections look for), the
// server functions and procedures, and the schema properties the client's statements rely on.
#include "DemoFixture.h"
#include "engine/Accounts.h"
#include "engine/ServerObjects.h"

#include <QCryptographicHash>
#include <QDate>
#include <gtest/gtest.h>
#include <sqlite3.h>

// Readable failure output for texts and lists of texts.
static void PrintTo(const QString& text, std::ostream* os) {
    *os << '"' << text.toStdString() << '"';
}

using namespace dudodu::engine;
using dudodu::test::demoError;
using dudodu::test::demoFolder;

namespace {

// Rows of a query run directly on the connection, every value as text ("<null>" for NULL).
QList<QStringList> rows(sqlite3* db, const QString& sql, const QVariantList& params = {}) {
    QList<QStringList> out;
    sqlite3_stmt* stmt = nullptr;
    const QByteArray text = sql.toUtf8();
    if (sqlite3_prepare_v2(db, text.constData(), -1, &stmt, nullptr) != SQLITE_OK) {
        ADD_FAILURE() << sqlite3_errmsg(db) << "\n" << text.constData();
        return out;
    }
    for (int i = 0; i < params.size(); ++i) {
        if (params[i].typeId() == QMetaType::QString)
            sqlite3_bind_text(stmt, i + 1, params[i].toString().toUtf8().constData(), -1, SQLITE_TRANSIENT);
        else
            sqlite3_bind_int64(stmt, i + 1, params[i].toLongLong());
    }
    int rc;
    while ((rc = sqlite3_step(stmt)) == SQLITE_ROW) {
        QStringList row;
        for (int c = 0; c < sqlite3_column_count(stmt); ++c) {
            const auto* value = reinterpret_cast<const char*>(sqlite3_column_text(stmt, c));
            row << (value ? QString::fromUtf8(value) : QStringLiteral("<null>"));
        }
        out << row;
    }
    if (rc != SQLITE_DONE) ADD_FAILURE() << sqlite3_errmsg(db) << "\n" << text.constData();
    sqlite3_finalize(stmt);
    return out;
}

qint64 count(sqlite3* db, const QString& sql) {
    const auto r = rows(db, sql);
    return r.isEmpty() ? -1 : r.first().first().toLongLong();
}

QStringList column(sqlite3* db, const QString& sql, const QVariantList& params = {}) {
    QStringList out;
    for (const QStringList& row : rows(db, sql, params))
        out << row.first();
    return out;
}

// A server function call as the interpreter expands it: the template with parenthesised arguments.
QString call(const char* function, const QStringList& args) {
    const ServerFunction* f = findServerFunction(QString::fromLatin1(function));
    if (!f) return QStringLiteral("<no such function>");
    QString sql = QString::fromUtf8(f->sql);
    for (int i = 0; i < args.size(); ++i)
        sql.replace(QStringLiteral("%%1").arg(i + 1), QLatin1Char('(') + args[i] + QLatin1Char(')'));
    return QLatin1Char('(') + sql + QLatin1Char(')');
}

QStringList procedure(sqlite3* db, const char* name, const QVariantList& args) {
    const ServerProcedure* p = findServerProcedure(QString::fromLatin1(name));
    EXPECT_TRUE(p) << name;
    return p ? column(db, QString::fromUtf8(p->sql), args) : QStringList();
}

QByteArray digest(sqlite3* db, const QString& table) {
    QCryptographicHash hash(QCryptographicHash::Sha256);
    for (const QStringList& row : rows(db, QStringLiteral("select * from %1 order by rowid").arg(table)))
        hash.addData(row.join(QChar(0x1f)).toUtf8() + '\n');
    return hash.result();
}

const QStringList kDigestTables = {
    "VELM_DBASE.SUB_CLASS",        "VELM_DBASE.dn_tcher_mnger", "VELM_DBASE.SEMESUBJECT",
    "VELM_DBASE.SEMETEACHER",      "VELM_DBASE.SEMECLASSROOM",  "VELM_DBASE.rule_program_relation",
    "VELM_DBASE.SUBJSELE_HISTORY", "GADEP.RMR_Room_master",     "GADEP.RMR_Rent_master",
    "GADEP.RMR_Rent_list",         "ACADEMIC.tbZT_DEPYEAR",     "VELMCC_DB.user_role_depyear"};

class DemoData : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        QString error;
        if (!demoFolder().isEmpty()) s_engine = Engine::open(demoFolder(), &error).release();
        s_error = demoFolder().isEmpty() ? demoError() : error;
    }
    static void TearDownTestSuite() {
        delete s_engine;
        s_engine = nullptr;
    }
    void SetUp() override { ASSERT_TRUE(s_engine) << s_error.toStdString(); }
    static sqlite3* db() { return s_engine->handle(); }

    static Engine* s_engine;
    static QString s_error;
};
Engine* DemoData::s_engine = nullptr;
QString DemoData::s_error;

TEST_F(DemoData, SmallScaleStillHoldsEveryKindOfUnit) {
    for (int level : {10, 11, 20, 21, 22, 32})
        EXPECT_GE(
            count(db(),
                  QStringLiteral("select count(*) from VELM_DBASE.SUB_CLASS where DEP_LEVEL=%1").arg(level)),
            level == 10 ? 2 : 1)
            << "level " << level;
    EXPECT_EQ(column(db(), "select CLASS_ID from VELM_DBASE.SUB_CLASS where CLASS_ID in "
                           "('GC__','LB__','LC__','PEC_','CLC_') order by CLASS_ID"),
              QStringList({"CLC_", "GC__", "LB__", "LC__", "PEC_"}));
    // The teacher-education centre's node is the parent of departments' nodes in the design year.
    EXPECT_GE(count(db(), "select count(*) from ACADEMIC.tbZT_DEPYEAR a join ACADEMIC.tbZT_DEPYEAR b "
                          "on a.depyr_id=b.parent where a.dep_code='TC__' and a.year=115"),
              2);
    EXPECT_GE(count(db(), "select count(*) from VELM_DBASE.SEMESUBJECT"), 300);
    for (const char* sql : {"select count(distinct YEAR*10+SEMESTER) from VELM_DBASE.SEMESUBJECT",
                            "select count(*) from GADEP.RMR_YEARSEME"})
        EXPECT_EQ(count(db(), sql), 4) << sql;
}

TEST_F(DemoData, SameSeedGivesTheSameDataAnotherSeedOther) {
    QTemporaryDir dir;
    for (quint32 seed : {DemoOptions().seed, DemoOptions().seed + 1}) {
        const QString folder = QDir(dir.path()).filePath(QString::number(seed));
        DemoOptions options;
        options.scale = dudodu::test::kDemoScale;
        options.seed = seed;
        QString error;
        ASSERT_TRUE(createDemoDatabase(folder, options, &error)) << error.toStdString();
        std::unique_ptr<Engine> other = Engine::open(folder, &error);
        ASSERT_TRUE(other) << error.toStdString();
        int same = 0;
        for (const QString& table : kDigestTables)
            same += digest(db(), table) == digest(other->handle(), table);
        if (seed == DemoOptions().seed)
            EXPECT_EQ(same, kDigestTables.size());
        else
            EXPECT_LT(same, kDigestTables.size() / 2);
    }
}

TEST_F(DemoData, EveryReferenceResolves) {
    const struct {
        const char *what, *violations;
    } cases[] = {
        {"teacher rows of a missing group", "select count(*) from VELM_DBASE.SEMETEACHER t where not exists "
                                            "(select 1 from VELM_DBASE.SEMESUBJECT s "
                                            "where s.SUBJECT_GROUP=t.SUBJECT_GROUP)"},
        {"classroom rows of a missing group", "select count(*) from VELM_DBASE.SEMECLASSROOM t where not "
                                              "exists (select 1 from VELM_DBASE.SEMESUBJECT s "
                                              "where s.SUBJECT_GROUP=t.SUBJECT_GROUP)"},
        {"field rows of a missing group", "select count(*) from VELM_DBASE.SEMEGC_FIELD t where not exists "
                                          "(select 1 from VELM_DBASE.SEMESUBJECT s "
                                          "where s.SUBJECT_GROUP=t.SUBJECT_GROUP)"},
        {"prerequisite rows of a missing group", "select count(*) from VELM_DBASE.SEMEOLD_PRESUBJ t where "
                                                 "not exists (select 1 from VELM_DBASE.SEMESUBJECT s "
                                                 "where s.SUBJECT_GROUP=t.SUBJECT_GROUP)"},
        {"featured rows of a missing offering", "select count(*) from VELM_DBASE.SEMECDIO t where not exists "
                                                "(select 1 from VELM_DBASE.SEMESUBJECT s "
                                                "where s.RSUBJ_SERNO=t.RSUBJ_SERNO)"},
        {"sub-item rows without their sub-item",
         "select count(*) from VELM_DBASE.SEMESUBCDIO t where t.CDIOSYSNO<>9 or not exists (select 1 from "
         "VELM_DBASE.SEMECDIOSUBITEM i where i.sysno=t.subsysno and i.cdiosubitem=t.CDIO_SUBNAME)"},
        {"groups without their head offering",
         "select count(*) from VELM_DBASE.SEMESUBJECT a where not exists (select 1 from "
         "VELM_DBASE.SEMESUBJECT h "
         "where h.RSUBJ_SERNO=a.SUBJECT_GROUP and h.YEAR=a.YEAR and h.SEMESTER=a.SEMESTER)"},
        {"serials not made of year, semester and five digits",
         "select count(*) from VELM_DBASE.SEMESUBJECT where RSUBJ_SERNO/100000 <> YEAR*10+SEMESTER "
         "or cast(term as integer)/100000 not in (YEAR*10+SEMESTER, YEAR*10+1)"},
        {"subject codes", "select count(*) from VELM_DBASE.SEMESUBJECT where length(SUBJECT_ID) not in "
                          "(9,10) or SUBJECT_ID_SEC <> "
                          "substr(SUBJECT_ID,1,8) || case WORK_PLACE when '碩專' then 'Z' else '0' end"},
        {"a subject code twice in one semester",
         "select count(*) from (select 1 from VELM_DBASE.SEMESUBJECT group by YEAR, SEMESTER, SUBJECT_ID "
         "having count(*)>1)"},
        {"classes not of the offering's department and year",
         "select count(*) from VELM_DBASE.SEMESUBJECT s where not exists (select 1 from "
         "ACADEMIC.tbZT_DEPYEAR d "
         "where d.depyr_code=s.DEPYR_CODE and d.year=s.YEAR and d.dep_code=s.DEPARTMENT and d.d_type in "
         "('B','M','P'))"},
        {"served and syllabus units missing",
         "select count(*) from VELM_DBASE.SEMESUBJECT s where not exists (select 1 from "
         "ACADEMIC.tbZT_DEPYEAR d "
         "where d.depyr_code=s.BELONG_DEPYR_CODE and d.dep_code=s.BELONG) or not exists (select 1 from "
         "ACADEMIC.tbZT_DEPYEAR d where d.depyr_code=s.CRS_DEPYR_CODE)"},
        {"departments the login lists do not offer",
         "select count(*) from VELM_DBASE.SEMESUBJECT s where not exists (select 1 from VELM_DBASE.SUB_CLASS "
         "c "
         "where c.CLASS_ID=s.DEPARTMENT and c.DEP_LEVEL in (10,11,20,21))"},
        {"curriculum links that do not resolve",
         "select count(*) from VELM_DBASE.SEMESUBJECT s where SUBJECT_SYSNO<>-1 and not exists (select 1 "
         "from "
         "VELM_DBASE.rule_program_relation r join VELM_DBASE.rule_program_basic b on "
         "b.program_id=r.program_id "
         "where r.ident=cast(s.rule_rel as integer) and r.subject_sysno=s.SUBJECT_SYSNO and "
         "r.depyr_code=s.PRE_DEPYRCODE "
         "and b.rule_year=s.fromyear)"},
        {"old-rule offerings without their rule line",
         "select count(*) from VELM_DBASE.SEMESUBJECT s where SUBJECT_SYSNO=-1 and not exists (select 1 from "
         "VELM_DBASE.SUBJ_DESG_101 d where substr(d.SUBJ_CODE,1,8)=substr(s.SUBJECT_ID,1,8) and d.SYEAR=101 "
         "and d.LINETYPE like 'SUBJ%')"},
        {"teachers unknown to the personnel table",
         "select count(*) from VELM_DBASE.SEMETEACHER t where t.TCHER_NO<>-1 and not exists (select 1 from "
         "VELM_DBASE.dn_tcher_mnger m where m.tcher_no=t.TCHER_NO and m.tcher_cname=t.TCHER_NAME)"},
        {"teachers without an account row", "select count(*) from VELM_DBASE.dn_tcher_mnger m where not "
                                            "exists (select 1 from VELMCC_DB.user_data u "
                                            "where u.ident=m.tcher_no)"},
        {"rooms unknown to the room master",
         "select count(*) from VELM_DBASE.SEMECLASSROOM c where c.room_id_no<>-1 and not exists (select 1 "
         "from "
         "GADEP.RMR_Room_master r where r.room_id_no=c.room_id_no and r.room_name=c.classroom and "
         "r.location=c.location)"},
        {"special schedules not as the client writes them",
         "select count(*) from VELM_DBASE.SEMECLASSROOM where weekday<0 and (weekday<-4 or classno<>-1 or "
         "room_id_no<>-1 or classroom<>'其他' or location<>3)"},
        {"offerings without class times (other than combined members)",
         "select count(*) from VELM_DBASE.SEMESUBJECT s where s.SUBJECT_GROUP=s.RSUBJ_SERNO and not exists "
         "(select 1 from VELM_DBASE.SEMECLASSROOM c where c.SUBJECT_GROUP=s.SUBJECT_GROUP)"},
        {"second halves of year-long subjects linked to nothing",
         "select count(*) from VELM_DBASE.SEMESUBJECT s where term_id='2' and not exists (select 1 from "
         "VELM_DBASE.SEMESUBJECT f where f.RSUBJ_SERNO=cast(s.term as integer) and f.term_id='1' and "
         "f.YEAR=s.YEAR)"},
        {"prerequisites naming no rule subject",
         "select count(*) from VELM_DBASE.rule_subject_previous p where not exists (select 1 from "
         "VELM_DBASE.rule_subject s where s.subject_sysno=p.pre_subject_sysno)"},
        {"tree nodes with a missing parent",
         "select count(*) from ACADEMIC.tbZT_DEPYEAR d where d.parent is not null and not exists (select 1 "
         "from "
         "ACADEMIC.tbZT_DEPYEAR p where p.depyr_id=d.parent and p.year=d.year and p.dep_level<d.dep_level)"},
        {"unit kinds without a kind row", "select count(*) from ACADEMIC.tbZT_DEPYEAR d where not exists "
                                          "(select 1 from ACADEMIC.tbZT_DEPYEAR_DTYPE t "
                                          "where t.d_type=d.d_type)"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(count(db(), QString::fromUtf8(c.violations)), 0) << c.what;
}

TEST_F(DemoData, TimetableRentalsAreThoseOfTheTimetableTransfer) {
    // Each timetable rental books one run of its group's slots in that room.
    EXPECT_EQ(count(db(),
                    "select count(*) from GADEP.RMR_Rent_master m where m.rem='課表轉檔' and ("
                    "m.rent_status<>'核准' or m.rent_ym <> substr(m.rent_no,1,4) or "
                    "(select count(*) from VELM_DBASE.SEMECLASSROOM c where c.SUBJECT_GROUP=m.SUBJECT_GROUP "
                    "and c.room_id_no=m.room_id_no and c.weekday=(case m.rent_date_week when 1 then 7 else "
                    "m.rent_date_week-1 end) and c.classno between m.rent_start_time-5 and m.rent_end_time-6)"
                    " <> m.rent_end_time-m.rent_start_time)"),
              0);
    // Every ordinary slot of a group is booked.
    EXPECT_EQ(
        count(db(),
              "select count(*) from VELM_DBASE.SEMECLASSROOM c where c.weekday>0 and not exists (select 1 "
              "from GADEP.RMR_Rent_master m where m.rem='課表轉檔' and m.SUBJECT_GROUP=c.SUBJECT_GROUP and "
              "m.room_id_no=c.room_id_no and m.rent_date_week=(case c.weekday when 7 then 1 else "
              "c.weekday+1 end) and c.classno+5>=m.rent_start_time and c.classno+5<m.rent_end_time)"),
        0);
    // Day rows: inside the semester window, on the rental's weekday (Sunday 1), at its rent times.
    EXPECT_EQ(
        count(
            db(),
            "select count(*) from GADEP.RMR_Rent_list l join GADEP.RMR_Rent_master m on "
            "m.rent_no=l.rent_no join GADEP.RMR_YEARSEME y on m.rent_ym=y.YEAR||y.SEME where "
            "m.rem='課表轉檔' and (l.rent_date<y.SDATE or l.rent_date>y.EDATE or l.room_id_no<>m.room_id_no "
            "or cast(strftime('%w', l.rent_date) as integer)+1<>m.rent_date_week "
            "or l.rent_time<m.rent_start_time or l.rent_time>=m.rent_end_time)"),
        0);
    // And every such day of the window is there: days with that weekday times rent times.
    const auto masters =
        rows(db(), "select m.rent_date_week, m.rent_end_time-m.rent_start_time, y.SDATE, y.EDATE, "
                   "(select count(*) from GADEP.RMR_Rent_list l where l.rent_no=m.rent_no) from "
                   "GADEP.RMR_Rent_master m join GADEP.RMR_YEARSEME y on m.rent_ym=y.YEAR||y.SEME "
                   "where m.rem='課表轉檔'");
    ASSERT_GT(masters.size(), 100);
    for (const QStringList& m : masters) {
        const QDate start = QDate::fromString(m[2].left(10), Qt::ISODate),
                    end = QDate::fromString(m[3].left(10), Qt::ISODate);
        int days = 0;
        for (QDate d = start; d <= end; d = d.addDays(1))
            days += d.dayOfWeek() % 7 + 1 == m[0].toInt();
        ASSERT_EQ(m[4].toInt(), days * m[1].toInt()) << m.join(' ').toStdString();
    }
}

TEST_F(DemoData, ConfigurationOpensOnTheLastGeneratedSemester) {
    auto item = [&](const char* name) {
        return column(db(), "select ITEM_VALUE from VELM_DBASE.SUBJSELE_CONFIG where ITEM_NAME=?",
                      {QString::fromUtf8(name)})
            .value(0);
    };
    EXPECT_EQ(item("課程表程式版本"), "4.197");
    EXPECT_EQ(item("課程設計資料修改設定"), "讀寫");
    EXPECT_EQ(item("課程設計學年") + item("課程設計學期"),
              column(db(), "select max(YEAR*10+SEME) from GADEP.RMR_YEARSEME").value(0));
    EXPECT_EQ(count(db(), "select max(YEAR*10+SEMESTER) from VELM_DBASE.SEMESUBJECT"),
              count(db(), "select max(YEAR*10+SEME) from GADEP.RMR_YEARSEME"));
}

TEST_F(DemoData, DemoAccountsLogInWithTheirPasswordOnlyAndHaveTheirRoles) {
    const QStringList accounts = {"office", "programmer", "cssuser", "CS__",      "GC__",
                                  "TH__",   "CM__",       "norole",  "cssnogrant"};
    for (const QString& account : accounts) {
        EXPECT_TRUE(s_engine->verifyAccount(account, "demo1234")) << account.toStdString();
        EXPECT_FALSE(s_engine->verifyAccount(account, "demo12345")) << account.toStdString();
        EXPECT_FALSE(s_engine->verifyAccount(account, "")) << account.toStdString();
    }
    EXPECT_FALSE(s_engine->verifyAccount("nobody", "demo1234"));
    EXPECT_FALSE(s_engine->verifyAccount("t10001", "demo1234")); // teachers have no password here

    auto ident = [&](const char* account) {
        return column(db(), "select ident from VELMCC_DB.user_data where u_id=?",
                      {QString::fromLatin1(account)})
            .value(0);
    };
    EXPECT_EQ(procedure(db(), "velm_role_query", {0, ident("office")}).value(0), "課務組");
    EXPECT_EQ(procedure(db(), "VELM_ROLE_QUERY", {0, ident("programmer")}).value(0), "程式設計員");
    EXPECT_EQ(procedure(db(), "velm_role_query", {0, ident("cssuser")}), QStringList({"課務系統使用人員"}));
    EXPECT_TRUE(procedure(db(), "velm_role_query", {0, 0}).isEmpty()); // department accounts have no ident
    // The accounts the client refuses: no role and no department of that name; a system user without
    // granted departments; a department account whose unit is an institute (level 21).
    EXPECT_TRUE(procedure(db(), "velm_role_query", {0, ident("norole")}).isEmpty());
    EXPECT_EQ(count(db(), "select count(*) from VELM_DBASE.SUB_CLASS where CLASS_ID='norole'"), 0);
    EXPECT_EQ(procedure(db(), "velm_role_query", {0, ident("cssnogrant")}),
              QStringList({"課務系統使用人員"}));
    EXPECT_TRUE(procedure(db(), "velm_role_depyear", {0, 115, ident("cssnogrant")}).isEmpty());
    EXPECT_EQ(count(db(), "select count(*) from VELM_DBASE.SUB_CLASS where CLASS_ID='CM__' and DEP_LEVEL=21"),
              1);

    const QStringList granted = procedure(db(), "velm_role_depyear", {0, 115, ident("cssuser")});
    EXPECT_TRUE(granted.contains("TC__"));
    EXPECT_GE(granted.size(), 3);
    for (const QString& code : granted) {
        if (code == "TC__") continue;
        EXPECT_EQ(
            count(db(), QStringLiteral("select count(*) from VELM_DBASE.SUB_CLASS where CLASS_ID='%1' and "
                                       "DEP_LEVEL in (10,11,20,21)")
                            .arg(code)),
            1)
            << code.toStdString();
    }
    for (const char* department : {"CS__", "GC__", "TH__"})
        EXPECT_EQ(
            count(db(), QStringLiteral("select count(*) from VELM_DBASE.SUB_CLASS where CLASS_ID='%1' and "
                                       "DEP_LEVEL in (10,11,20)")
                            .arg(QLatin1String(department))),
            1)
            << department;
}

TEST_F(DemoData, InspectionsHaveCollisionsAndCombinedClassesToFind) {
    const QString term = QStringLiteral(" year=115 and semester=2 and status<>1");
    EXPECT_GE(
        count(db(), "select count(*) from (select 1 from VELM_DBASE.SEMECLASSROOM where room_id_no<>-1 and "
                    "subject_group in (select subject_group from VELM_DBASE.SEMESUBJECT where" +
                        term + ") group by room_id_no, weekday, classno having count(*)>1)"),
        1);
    EXPECT_GE(
        count(
            db(),
            "select count(*) from VELM_DBASE.SEMETEACHER t1 join VELM_DBASE.SEMECLASSROOM c1 on "
            "c1.SUBJECT_GROUP=t1.SUBJECT_GROUP join VELM_DBASE.SEMETEACHER t2 on t2.TCHER_NO=t1.TCHER_NO and "
            "t2.SUBJECT_GROUP<>t1.SUBJECT_GROUP join VELM_DBASE.SEMECLASSROOM c2 on "
            "c2.SUBJECT_GROUP=t2.SUBJECT_GROUP and c2.weekday=c1.weekday and c2.classno=c1.classno and "
            "c2.room_id_no<>c1.room_id_no where t1.TCHER_NO>0 and c1.weekday>0 and t1.SUBJECT_GROUP in "
            "(select SUBJECT_GROUP from VELM_DBASE.SEMESUBJECT where" +
                term + ") and t2.SUBJECT_GROUP in (select SUBJECT_GROUP from VELM_DBASE.SEMESUBJECT where" +
                term + ")"),
        1);
    EXPECT_GE(count(db(), "select count(*) from (select 1 from VELM_DBASE.SEMESUBJECT where" + term +
                              " group by SUBJECT_GROUP having count(*)>1)"),
              1);
    // Approved rentals of other users on a timetable room and slot of the design semester.
    EXPECT_GE(
        count(db(),
              "select count(*) from GADEP.RMR_Rent_master m join GADEP.RMR_Rent_list l on "
              "l.rent_no=m.rent_no join GADEP.RMR_Rent_list t on t.room_id_no=l.room_id_no and "
              "t.rent_date=l.rent_date and t.rent_time=l.rent_time join GADEP.RMR_Rent_master tm on "
              "tm.rent_no=t.rent_no and tm.rem='課表轉檔' where m.rem<>'課表轉檔' and m.rent_status='核准' "
              "and m.rent_ym='1152'"),
        1);
    EXPECT_GE(count(db(), "select count(*) from GADEP.RMR_Rent_master where rent_status='取消'"), 1);
    // Selections: graded history, and offerings of the design semester that may not be deleted.
    EXPECT_GE(count(db(), "select count(*) from VELM_DBASE.SUBJSELE_HISTORY where sub_score<>''"), 100);
    EXPECT_GE(count(db(), "select count(*) from VELM_DBASE.SUBJSELE_CURRENT where year=115 and semester=2"),
              1);
}

// The list functions, called the way the inspections call them: unqualified column names of the
// calling query as arguments, on every offering of the design semester.
TEST_F(DemoData, ListFunctionsAnswerForTheCallingRow) {
    const QString sql = "select RSUBJ_SERNO, " + call("SUBJECT_TEACHER_List", {"subject_group"}) + ", " +
                        call("SUBJECT_TCHERNO_List", {"SUBJECT_GROUP"}) + ", " +
                        call("COMB_SUBJECT_ID", {"subject_group"}) + ", " +
                        call("SUBJECT_TIME_List", {"subject_group"}) +
                        " from VELM_DBASE.SEMESUBJECT where year=115 and semester=2 order by RSUBJ_SERNO";
    const QString expected =
        "select RSUBJ_SERNO, (select group_concat(TCHER_NAME, ',') from (select TCHER_NAME from "
        "VELM_DBASE.SEMETEACHER t "
        "where t.SUBJECT_GROUP=s.SUBJECT_GROUP order by seq)), (select group_concat(TCHER_NO, ',') from "
        "(select TCHER_NO "
        "from VELM_DBASE.SEMETEACHER t where t.SUBJECT_GROUP=s.SUBJECT_GROUP order by seq)), (select "
        "group_concat(SUBJECT_ID, ',') from (select SUBJECT_ID from VELM_DBASE.SEMESUBJECT m where "
        "m.SUBJECT_GROUP=s.SUBJECT_GROUP order by SUBJECT_ID, RSUBJ_SERNO)), (select group_concat(x, ',') "
        "from (select "
        "case when weekday<0 then weekday else weekday||'='||classno end as x from VELM_DBASE.SEMECLASSROOM "
        "c where "
        "c.SUBJECT_GROUP=s.SUBJECT_GROUP group by weekday, classno order by weekday, classno)) from "
        "VELM_DBASE.SEMESUBJECT s where year=115 and semester=2 order by RSUBJ_SERNO";
    const auto got = rows(db(), sql);
    ASSERT_GT(got.size(), 100);
    EXPECT_EQ(got, rows(db(), expected));
}

// A small fixture of known rows for the exact texts of the functions.
class ServerFunctions : public ::testing::Test {
  protected:
    void SetUp() override {
        QString error;
        m_engine = Engine::create(m_dir.path(), &error);
        ASSERT_TRUE(m_engine) << error.toStdString();
        for (const char* sql :
             {"insert into VELM_DBASE.SEMESUBJECT (RSUBJ_SERNO, SUBJECT_GROUP, SUBJECT_ID, DEPARTMENT, YEAR, "
              "SEMESTER, "
              "S_NAME, status, SUBJECT_SYSNO, PRE_DEPYRCODE) values (1, 1, 'B0000001A', 'CS__', 115, 2, "
              "'乙科', 2, -1, ''), "
              "(2, 1, 'A0000001A', 'EE__', 115, 2, '甲科', 1, -1, ''), (3, 3, 'C0000001A', 'CS__', 115, 2, "
              "'丙科', 2, 7, "
              "'CS__115B1'), (4, 4, 'D0000001A', 'CS__', 115, 2, '丁科', 2, -1, '')",
              "insert into VELM_DBASE.SEMETEACHER values (1, 2, 102, '乙師'), (1, 1, 101, '甲師'), (3, 1, "
              "-1, '待聘')",
              "insert into VELM_DBASE.SEMECLASSROOM values (1, 20, 'B202', 3, 8, 1), (1, 10, 'A101', 1, 2, "
              "1), "
              "(1, 20, 'B202', 3, 7, 1), (1, 10, 'A101', 3, 8, 1), (3, -1, '其他', -3, -1, 3)",
              "insert into VELM_DBASE.SEMEOLD_PRESUBJ values (1, 1, '微積分'), (1, 0, '普通物理')",
              "insert into VELM_DBASE.SEMEGC_FIELD values (1, 2, '3', '自然與工程'), (1, 1, '1', "
              "'人文與藝術')",
              "insert into VELM_DBASE.SEMECDIO values (1, '跨領域課程', null), (1, '永續發展課程', null)",
              "insert into VELM_DBASE.rule_subject (subject_sysno, subject_id, subject_name) values "
              "(5, 'X0000005A', '程式設計'), (6, 'X0000006A', '線性代數'), (7, 'C0000001A', '丙科')",
              "insert into VELM_DBASE.rule_subject_previous values (7, 'CS__115B1', '#', 6), (7, "
              "'CS__115B1', '*', 5), "
              "(7, 'EE__115B1', '*', 6)",
              "insert into VELM_DBASE.rule_general_sphere values (1, '人文與藝術', 80, 'T'), (2, "
              "'社會與法政', 70, 'T'), "
              "(3, '自然與工程', 60, 'T')",
              "insert into VELM_DBASE.rule_subject_sphere values (7, 'GC__', 3), (7, 'LC__', 1), (7, 'CS__', "
              "2)"}) {
            char* message = nullptr;
            ASSERT_EQ(sqlite3_exec(m_engine->handle(), sql, nullptr, nullptr, &message), SQLITE_OK)
                << message << sql;
        }
    }

    // The function's value for offering `serial`, with the arguments naming that offering's columns.
    QString value(const char* function, const QStringList& args, int serial) {
        return column(m_engine->handle(),
                      "select " + call(function, args) + " from VELM_DBASE.SEMESUBJECT where RSUBJ_SERNO=?",
                      {serial})
            .value(0);
    }

    QTemporaryDir m_dir;
    std::unique_ptr<Engine> m_engine;
};

TEST_F(ServerFunctions, ListsJoinInTheirOrderAndAreNullWithoutRows) {
    const QStringList group = {"subject_group"};
    const QStringList sysnoAndGroup = {"SUBJECT_SYSNO", "subject_group"};
    const struct {
        const char* function;
        QStringList args;
        int serial;
        const char* expected;
    } cases[] = {
        {"SUBJECT_TEACHER_List", group, 1, "甲師,乙師"},
        {"SUBJECT_TCHERNO_List", group, 2, "101,102"}, // a combined member answers for its group
        {"SUBJECT_TEACHER_List", group, 3, "待聘"},
        {"SUBJECT_TEACHER_List", group, 4, "<null>"},
        {"SUBJECT_ROOM_List", group, 1, "B202,A101"}, // rooms in the order first stored
        {"SUBJECT_ROOM_ID_List", group, 1, "20,10"},
        {"SUBJECT_ROOM_List", group, 4, "<null>"},
        {"SUBJECT_TIME_List", group, 1, "1=2,3=7,3=8"}, // two rooms at 3=8 give one slot
        {"SUBJECT_TIME_List", group, 3, "-3"},
        {"SUBJECT_TIME_List", group, 4, "<null>"},
        {"SUBJECT_PRESUBJ_List", sysnoAndGroup, 1, "普通物理,微積分"},
        {"SUBJECT_PRESUBJ_List", sysnoAndGroup, 3,
         "*程式設計,#線性代數"}, // the rule's, for its own rule unit
        {"SUBJECT_PRESUBJ_List", sysnoAndGroup, 4, "<null>"},
        {"SUBJECT_GCFIELD_List", sysnoAndGroup, 1, "人文與藝術,自然與工程"},
        {"SUBJECT_GCFIELD_List", sysnoAndGroup, 3, "人文與藝術,自然與工程"}, // general-education units only
        {"SUBJECT_GCFIELD_List", sysnoAndGroup, 4, "<null>"},
        {"SUBJECT_CDIO_List", {"RSUBJ_SERNO"}, 1, "跨領域課程,永續發展課程"},
        {"SUBJECT_CDIO_List", {"RSUBJ_SERNO"}, 2, "<null>"},
        {"COMB_SUBJECT_ID", group, 1, "A0000001A,B0000001A"},
        {"COMB_SNAME", group, 1, "甲科,乙科"},
        {"COMB_STATUS", group, 1, "停開,正常"},
        {"COMB_SUBJECT_ID", group, 4, "D0000001A"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(value(c.function, c.args, c.serial), QString::fromUtf8(c.expected))
            << c.function << " of " << c.serial;
    EXPECT_EQ(findServerFunction(u"subject_teacher_list"), findServerFunction(u"SUBJECT_TEACHER_List"));
    EXPECT_EQ(findServerFunction(u"SUBJECT_TEACHER"), nullptr);
    EXPECT_EQ(findServerProcedure(u"velm_role"), nullptr);
}

// The combined-class separation copies child rows with "insert into T select <group>, ..." without
// a column list, so the columns must stand in the order those statements list them.
TEST_F(ServerFunctions, PositionalCopiesOfChildRowsLandInTheirColumns) {
    sqlite3* db = m_engine->handle();
    for (const char* sql :
         {"insert into VELM_DBASE.SEMETEACHER select 9, seq, TCHER_NO, TCHER_NAME from "
          "VELM_DBASE.SEMETEACHER where subject_group=1",
          "insert into VELM_DBASE.SEMEOLD_PRESUBJ select 9, seq, pre_subject_name from "
          "VELM_DBASE.SEMEOLD_PRESUBJ where subject_group=1",
          "insert into VELM_DBASE.SEMEGC_FIELD select 9, seq, gc_code, gc_field from "
          "VELM_DBASE.SEMEGC_FIELD where subject_group=1",
          "insert into VELM_DBASE.SEMECLASSROOM select 9, room_id_no, classroom, weekday, classno, "
          "location from VELM_DBASE.SEMECLASSROOM where subject_group=1"}) {
        char* message = nullptr;
        ASSERT_EQ(sqlite3_exec(db, sql, nullptr, nullptr, &message), SQLITE_OK) << message;
    }
    for (const auto& [table, columns] : std::initializer_list<std::pair<const char*, const char*>>{
             {"SEMETEACHER", "seq, TCHER_NO, TCHER_NAME"},
             {"SEMEOLD_PRESUBJ", "seq, pre_subject_name"},
             {"SEMEGC_FIELD", "seq, gc_code, gc_field"},
             {"SEMECLASSROOM", "room_id_no, classroom, weekday, classno, location"}}) {
        const QString select =
            QStringLiteral("select %1 from VELM_DBASE.%2 where SUBJECT_GROUP=%3 order by %1");
        EXPECT_EQ(rows(db, select.arg(QLatin1String(columns), QLatin1String(table)).arg(9)),
                  rows(db, select.arg(QLatin1String(columns), QLatin1String(table)).arg(1)))
            << table;
    }
}

TEST(Accounts, PasswordsAreSaltedAndReplaceable) {
    QTemporaryDir dir;
    QString error;
    std::unique_ptr<Engine> engine = Engine::create(dir.path(), &error);
    ASSERT_TRUE(engine) << error.toStdString();
    sqlite3* db = engine->handle();
    ASSERT_TRUE(accounts::setPassword(db, "alice", "same", &error)) << error.toStdString();
    ASSERT_TRUE(accounts::setPassword(db, "bob", "same", &error)) << error.toStdString();
    const auto stored = rows(db, "select hex(salt), hex(hash) from VELMCC_DB.account_password order by u_id");
    ASSERT_EQ(stored.size(), 2);
    EXPECT_NE(stored[0], stored[1]); // the same password does not give the same hash
    EXPECT_TRUE(accounts::verifyPassword(db, "alice", "same"));
    EXPECT_FALSE(accounts::verifyPassword(db, "alice", "Same"));

    ASSERT_TRUE(accounts::setPassword(db, "alice", "新密碼", &error)) << error.toStdString();
    EXPECT_TRUE(accounts::verifyPassword(db, "alice", "新密碼"));
    EXPECT_FALSE(accounts::verifyPassword(db, "alice", "same"));
    EXPECT_EQ(count(db, "select count(*) from VELMCC_DB.account_password"), 2);
    EXPECT_FALSE(accounts::setPassword(db, "  ", "x", &error));

    // A damaged row never verifies.
    ASSERT_EQ(sqlite3_exec(db, "update VELMCC_DB.account_password set hash=x'00' where u_id='bob'", nullptr,
                           nullptr, nullptr),
              SQLITE_OK);
    EXPECT_FALSE(accounts::verifyPassword(db, "bob", "same"));
}

} // namespace
