// The T-SQL dialect on the embedded engine: expression meaning, names, dates, refusals, caching.
#include "engine/Engine.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace dudodu::engine;

namespace {

class Dialect : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_dir.isValid());
        QString error;
        m_engine = Engine::create(m_dir.path(), &error);
        ASSERT_TRUE(m_engine) << error.toStdString();
        m_engine->setClock([] { return QDateTime(QDate(2026, 12, 11), QTime(10, 30)); });
        run("insert VELM_DBASE..SEMESUBJECT(RSUBJ_SERNO,SUBJECT_GROUP,SUBJECT_ID,DEPARTMENT,MUST,YEAR,SEMESTER,"
            "S_NAME,CREDIT,HOUR,LAB,status,program_id) values(115200001,115200001,'A1010001','CS__','必',115,2,"
            "'程式設計',3,3,0,2,NULL)\n"
            "insert VELM_DBASE..SEMESUBJECT(RSUBJ_SERNO,SUBJECT_GROUP,SUBJECT_ID,DEPARTMENT,MUST,YEAR,SEMESTER,"
            "S_NAME,CREDIT,HOUR,LAB,status,program_id) values(115200002,115200002,'A1010002','CS__','選',115,2,"
            "'資料結構',2.5,2,1,1,7)\n"
            "insert GADEP..RMR_Rent_list(room_id_no,rent_date,rent_time,rent_no) values(12,'2026/12/10',7,'1152A')\n"
            "insert GADEP..RMR_Rent_list(room_id_no,rent_date,rent_time,rent_no) values(12,'2026/12/11',7,'1152B')\n"
            "insert GADEP..RMR_Rent_list(room_id_no,rent_date,rent_time,rent_no) values(12,'2026-12-13',8,'1152C')");
    }

    BatchResult run(const QString &sql) {
        BatchResult r = m_engine->execute(sql);
        EXPECT_TRUE(r.ok()) << sql.toStdString() << "\n→ " << r.error.toStdString();
        return r;
    }

    QVariant scalar(const QString &sql) {
        const BatchResult r = run(sql);
        if (r.results.isEmpty() || r.results.last().rows.isEmpty())
            return QVariant(QStringLiteral("<no row>"));
        return r.results.last().rows.first().first();
    }

    QTemporaryDir m_dir;
    std::unique_ptr<Engine> m_engine;
};

struct ScalarCase {
    const char *name;
    const char *sql;
    QVariant expected; // invalid = NULL
};

TEST_F(Dialect, ExpressionsHaveServerMeaning) {
    const ScalarCase cases[] = {
        {"text plus text joins", "select 'ab' + 'cd'", QStringLiteral("abcd")},
        {"numbers add", "select 1 + 2", qint64(3)},
        {"text column plus literal joins", "select S_NAME + MUST from VELM_DBASE..SEMESUBJECT where "
                                           "RSUBJ_SERNO=115200001", QStringLiteral("程式設計必")},
        {"integer column plus number adds", "select YEAR + 1 from VELM_DBASE..SEMESUBJECT where "
                                            "RSUBJ_SERNO=115200001", qint64(116)},
        {"digits text plus number converts", "select '41' + 1", qint64(42)},
        {"text plus NULL is NULL", "select 'x' + NULL", QVariant()},
        {"column plus NULL column is NULL", "select SUBJECT_ID + NOTE from VELM_DBASE..SEMESUBJECT where "
                                            "RSUBJ_SERNO=115200001", QVariant()},
        {"isnull replaces NULL", "select isnull(program_id,-1) from VELM_DBASE..SEMESUBJECT where "
                                 "RSUBJ_SERNO=115200001", qint64(-1)},
        {"isnull keeps value", "select isnull(program_id,-1) from VELM_DBASE..SEMESUBJECT where "
                               "RSUBJ_SERNO=115200002", qint64(7)},
        {"convert number to varchar", "select convert(varchar(3),YEAR) + '/' + cast(CREDIT as varchar(4)) from "
                                      "VELM_DBASE..SEMESUBJECT where RSUBJ_SERNO=115200002", QStringLiteral("115/2.5")},
        {"whole credit shows without fraction", "select cast(CREDIT as varchar(4)) from VELM_DBASE..SEMESUBJECT "
                                                "where RSUBJ_SERNO=115200001", QStringLiteral("3")},
        {"getdate as yyyy/mm/dd", "select convert(varchar(10), getdate(), 111)", QStringLiteral("2026/12/11")},
        {"weekday of a Sunday is 1", "select DatePart(weekday, '2026-12-13')", qint64(1)},
        {"weekday of a stored Sunday is 1", "select DatePart(weekday , rent_date) from GADEP..RMR_Rent_list where "
                                       "rent_no='1152C'", qint64(1)},
        {"integer column equals quoted number", "select count(*) from VELM_DBASE..SEMESUBJECT where YEAR='115' "
                                                "and SEMESTER='2'", qint64(2)},
        {"simple case compares integer with quoted number", "select case status when '1' then '停開' when '2' "
                                                            "then '正常' end from VELM_DBASE..SEMESUBJECT where "
                                                            "RSUBJ_SERNO=115200002", QStringLiteral("停開")},
        {"substring", "select substring(SUBJECT_ID,1,8) + 'Z' from VELM_DBASE..SEMESUBJECT where "
                      "RSUBJ_SERNO=115200001", QStringLiteral("A1010001Z")},
        {"ltrim and replace", "select replace(ltrim('  碩士班一般組'),'碩士班一般組','一般組')", QStringLiteral("一般組")},
        {"names in any case and brackets", "select count(*) from [velm_dbase].[dbo].[semesubject] a join "
                                           "VELM_Dbase..SEMESUBJECT b on a.[RSUBJ_SERNO]=b.rsubj_serno",
         qint64(2)},
        {"text compares without case", "select count(*) from VELM_DBASE..SEMESUBJECT where SUBJECT_ID='a1010001'",
         qint64(1)},
        {"top with order", "select top 1 S_NAME from VELM_DBASE..SEMESUBJECT order by CREDIT",
         QStringLiteral("資料結構")},
        {"scalar subquery in a condition", "if (select count(*) from VELM_DBASE..SEMESUBJECT) > 1 select 'many' "
                                           "else select 'few'", QStringLiteral("many")},
        {"integer division truncates", "select 7 / 2", qint64(3)},
        {"division with a fraction", "select 7.0 / 2", 3.5},
        {"string_agg", "select STRING_AGG(MUST, '/') from (select MUST from VELM_DBASE..SEMESUBJECT) x",
         QStringLiteral("必/選")},
    };
    for (const ScalarCase &c : cases)
        EXPECT_EQ(scalar(QString::fromUtf8(c.sql)), c.expected) << c.name;
}

TEST_F(Dialect, DatesCompareWithTheFormsClientsSend) {
    // Stored dates keep one canonical form whatever form was inserted.
    EXPECT_EQ(scalar("select rent_date from GADEP..RMR_Rent_list where rent_no='1152A'"),
              QVariant(QStringLiteral("2026-12-10 00:00:00.000")));
    const ScalarCase cases[] = {
        {"between convert(...,111) and a slash date",
         "select count(*) from GADEP..RMR_Rent_list where rent_date BETWEEN ( convert(varchar(10),getdate(),111 ) ) "
         "AND '2026/12/31'",
         qint64(2)},
        {"equals a dash date", "select count(*) from GADEP..RMR_Rent_list where rent_date='2026-12-10'", qint64(1)},
        {"compares with a date from another column",
         "select count(*) from GADEP..RMR_Rent_list a where a.rent_date >= (select min(rent_date) from "
         "GADEP..RMR_Rent_list)",
         qint64(3)},
    };
    for (const ScalarCase &c : cases)
        EXPECT_EQ(scalar(QString::fromUtf8(c.sql)), c.expected) << c.name;
    const BatchResult bad = m_engine->execute("select count(*) from GADEP..RMR_Rent_list where rent_date='soon'");
    EXPECT_FALSE(bad.ok());
    EXPECT_TRUE(bad.error.contains("Conversion failed")) << bad.error.toStdString();
}

TEST_F(Dialect, RuntimeFailuresAreErrorsNotNulls) {
    const char *cases[] = {"select 1/0", "select 5 % 0", "select convert(int, 'abc')",
                           "select DatePart(weekday, 'not a date')"};
    for (const char *sql : cases) {
        const BatchResult r = m_engine->execute(QString::fromUtf8(sql));
        EXPECT_FALSE(r.ok()) << sql;
        EXPECT_TRUE(r.results.isEmpty()) << sql;
    }
}

TEST_F(Dialect, ResultColumnsAreNamedAsTheStatementSpellsThem) {
    const BatchResult r =
        run("select a.year, S_NAME as 名稱, case DatePart(weekday , '2026-12-14')-1 when 0 then 7 else "
            "DatePart(weekday , '2026-12-14')-1 end as 星期, isnull(FromYear,0) as FromYear, count(*) "
            "from VELM_DBASE..SEMESUBJECT a where RSUBJ_SERNO=115200001 group by a.year, S_NAME, FromYear");
    ASSERT_EQ(r.results.size(), 1);
    EXPECT_EQ(r.results[0].columns,
              QStringList({"year", "名稱", "星期", "FromYear", ""}));
    EXPECT_EQ(r.results[0].rows[0][2], QVariant(qint64(1))); // Monday
    EXPECT_EQ(r.results[0].types[0], ColumnType::Integer);
}

TEST_F(Dialect, TextWithQuotesRoundTrips) {
    run("update VELM_DBASE..SEMESUBJECT set NOTE='O''Brien''s ''quoted'' note' where RSUBJ_SERNO=115200001");
    EXPECT_EQ(scalar("select NOTE from VELM_DBASE..SEMESUBJECT where RSUBJ_SERNO=115200001"),
              QVariant(QStringLiteral("O'Brien's 'quoted' note")));
}

TEST_F(Dialect, UnsupportedConstructsAreRefusedByNameAndNothingRuns) {
    struct Refusal {
        const char *sql;
        const char *named;
    };
    const Refusal cases[] = {
        {"while 1=1 select 1", "WHILE"},
        {"select dbo.no_such_function(1)", "no_such_function"},
        {"select * into #t from VELM_DBASE..SEMESUBJECT", "INTO"},
        {"select top 10 percent * from VELM_DBASE..SEMESUBJECT", "PERCENT"},
        {"exec VELM_DBASE..no_such_proc 1", "no_such_proc"},
        {"select @undeclared", "@undeclared"},
        {"select 'unterminated", "Unclosed quotation mark"},
        {"select 1 from VELM_DBASE..NO_SUCH_TABLE", "NO_SUCH_TABLE"},
    };
    for (const Refusal &c : cases) {
        // The refused statement follows a valid delete: the delete must not run either.
        const BatchResult r = m_engine->execute(
            QStringLiteral("delete VELM_DBASE..SEMESUBJECT where RSUBJ_SERNO=115200001\n") + QString::fromUtf8(c.sql));
        EXPECT_FALSE(r.ok()) << c.sql;
        EXPECT_TRUE(r.error.contains(QString::fromUtf8(c.named))) << c.sql << " → " << r.error.toStdString();
        EXPECT_EQ(scalar("select count(*) from VELM_DBASE..SEMESUBJECT"), QVariant(qint64(2))) << c.sql;
    }
}

TEST_F(Dialect, SameShapeReusesTheTranslationWithItsOwnValues) {
    const int before = m_engine->cachedTranslations();
    EXPECT_EQ(scalar("select S_NAME from VELM_DBASE..SEMESUBJECT where RSUBJ_SERNO=115200001"),
              QVariant(QStringLiteral("程式設計")));
    EXPECT_EQ(scalar("select S_NAME from VELM_DBASE..SEMESUBJECT where RSUBJ_SERNO=115200002"),
              QVariant(QStringLiteral("資料結構")));
    EXPECT_EQ(m_engine->cachedTranslations(), before + 1);
    // A length is part of the statement's shape, not a value: each keeps its own meaning.
    EXPECT_EQ(scalar("select convert(varchar(2), 'abcdef')"), QVariant(QStringLiteral("ab")));
    EXPECT_EQ(scalar("select convert(varchar(4), 'abcdef')"), QVariant(QStringLiteral("abcd")));
}

} // namespace

// Opening folders that do not hold a database fails with a clear message.
TEST(EngineOpen, MissingOrCorruptFolderGivesClearError) {
    QString error;
    EXPECT_EQ(Engine::open(QStringLiteral("/nonexistent/dudodu"), &error), nullptr);
    EXPECT_TRUE(error.contains("does not exist")) << error.toStdString();

    QTemporaryDir dir;
    error.clear();
    EXPECT_EQ(Engine::open(dir.path(), &error), nullptr);
    EXPECT_TRUE(error.contains("missing")) << error.toStdString();

    ASSERT_TRUE(Engine::create(dir.path(), &error)) << error.toStdString();
    {
        QFile f(QDir(dir.path()).filePath(Engine::fileName(QStringLiteral("GADEP"))));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(QByteArray(8192, 'x'));
    }
    QFile::remove(QDir(dir.path()).filePath(Engine::fileName(QStringLiteral("GADEP")) + "-wal"));
    QFile::remove(QDir(dir.path()).filePath(Engine::fileName(QStringLiteral("GADEP")) + "-shm"));
    error.clear();
    EXPECT_EQ(Engine::open(dir.path(), &error), nullptr);
    EXPECT_TRUE(error.contains("GADEP")) << error.toStdString();

    error.clear();
    EXPECT_EQ(Engine::create(dir.path(), &error), nullptr);
    EXPECT_TRUE(error.contains("already holds")) << error.toStdString();
}
