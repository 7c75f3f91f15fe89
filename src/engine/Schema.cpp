// DDL of the four databases. Text columns are written with the type word TXT, which expands to
// "TEXT COLLATE NOCASE" (the university's server compares text case-insensitively); dates are
// DATETIME so that the engine recognises them.
//
// Column order matters for some tables: the combined-class separation copies rows with positional
// "insert into T select ..." statements, so SEMETEACHER, SEMEOLD_PRESUBJ, SEMEGC_FIELD and
// SEMECLASSROOM hold exactly the columns those statements list, in that order.
#include "engine/Schema.h"

#include <QRegularExpression>
#include <QStringList>
#include <sqlite3.h>

namespace dudodu::engine::schema {
namespace {

const char* const kTables[] = {
    // ---- course database: offerings and their child rows
    R"(CREATE TABLE VELM_DBASE.SEMESUBJECT (
        RSUBJ_SERNO INTEGER PRIMARY KEY,
        SUBJECT_GROUP INTEGER NOT NULL,
        DEPYR_CODE TXT,
        SUBJECT_ID TXT NOT NULL,
        SUBJECT_ID_SEC TXT,
        DEPARTMENT TXT NOT NULL,
        MUST TXT,
        YEAR INTEGER NOT NULL,
        SEMESTER INTEGER NOT NULL,
        SUBJ_MODE TXT,
        "LIMIT" INTEGER,
        S_NAME TXT,
        E_NAME TXT,
        CREDIT REAL,
        HOUR REAL,
        LAB INTEGER,
        BELONG TXT,
        BELONG_DEPYR_CODE TXT,
        WORK_PLACE TXT,
        NOTE TXT,
        EP_FIELD TXT,
        SEME_ENG INTEGER,
        SUBJECT_SYSNO INTEGER,
        PROGRAM_ID INTEGER,
        PRE_DEPYRCODE TXT,
        IsEval INTEGER,
        status INTEGER NOT NULL DEFAULT 2,
        IsExpand INTEGER DEFAULT 2,
        fromyear INTEGER,
        fromdep TXT,
        salarygroup INTEGER,
        evalgroup INTEGER,
        cr_date DATETIME,
        cr_userid TXT,
        md_date DATETIME,
        md_userid TXT,
        term_id TXT,
        term TXT,
        CRS_DEPYR_CODE TXT,
        rule_rel TXT,
        subj_kind TXT,
        S TXT,
        U TXT,
        I TXT,
        SUBMIT_ID TXT,
        SAVE_ID TXT))",
    R"(CREATE TABLE VELM_DBASE.SEMETEACHER (
        SUBJECT_GROUP INTEGER NOT NULL,
        seq INTEGER NOT NULL,
        TCHER_NO INTEGER,
        TCHER_NAME TXT,
        PRIMARY KEY (SUBJECT_GROUP, seq)))",
    // No unique key on (group, room, weekday, period): two class-time lists may name the same room
    // and slot, and the collision query is meant to report such a group against itself.
    R"(CREATE TABLE VELM_DBASE.SEMECLASSROOM (
        SUBJECT_GROUP INTEGER NOT NULL,
        room_id_no INTEGER NOT NULL,
        classroom TXT,
        weekday INTEGER NOT NULL,
        classno INTEGER NOT NULL,
        location INTEGER))",
    R"(CREATE TABLE VELM_DBASE.SEMEGC_FIELD (
        SUBJECT_GROUP INTEGER NOT NULL,
        seq INTEGER NOT NULL,
        gc_code TXT,
        gc_field TXT,
        PRIMARY KEY (SUBJECT_GROUP, seq)))",
    R"(CREATE TABLE VELM_DBASE.SEMEOLD_PRESUBJ (
        SUBJECT_GROUP INTEGER NOT NULL,
        seq INTEGER NOT NULL,
        pre_subject_name TXT,
        PRIMARY KEY (SUBJECT_GROUP, seq)))",
    R"(CREATE TABLE VELM_DBASE.SEMECDIO (
        RSUBJ_SERNO INTEGER NOT NULL,
        CDIO_NAME TXT NOT NULL,
        CR_DATE DATETIME,
        PRIMARY KEY (RSUBJ_SERNO, CDIO_NAME)))",
    R"(CREATE TABLE VELM_DBASE.SEMESUBCDIO (
        RSUBJ_SERNO INTEGER NOT NULL,
        CDIOSYSNO INTEGER,
        CDIO_SUBNAME TXT NOT NULL,
        CR_DATE DATETIME,
        subsysno INTEGER,
        PRIMARY KEY (RSUBJ_SERNO, CDIO_SUBNAME)))",
    R"(CREATE TABLE VELM_DBASE.SEMESUBJECT_GROUP (
        SUBJECT_GROUP INTEGER PRIMARY KEY,
        GROUP_TEXT TXT))",

    // ---- course database: code and reference tables
    R"(CREATE TABLE VELM_DBASE.SEMECDIOITEM (
        SYSNO INTEGER PRIMARY KEY,
        CDIOITEM TXT NOT NULL,
        cdio_status INTEGER DEFAULT 1))",
    R"(CREATE TABLE VELM_DBASE.SEMECDIOSUBITEM (
        sysno INTEGER PRIMARY KEY,
        cdiosysno INTEGER NOT NULL DEFAULT 9,
        cdiosubitem TXT NOT NULL))",
    R"(CREATE TABLE VELM_DBASE.SEMESALARYGROUP (
        salary_id INTEGER PRIMARY KEY,
        descrip TXT))",
    R"(CREATE TABLE VELM_DBASE.SEMEEVALGROUP (
        eval_id INTEGER PRIMARY KEY,
        descrip TXT))",
    R"(CREATE TABLE VELM_DBASE.SUBJSELE_CONFIG (
        ITEM_NAME TXT PRIMARY KEY,
        ITEM_VALUE TXT))",
    R"(CREATE TABLE VELM_DBASE.SUB_CLASS (
        CLASS_ID TXT PRIMARY KEY,
        NAME TXT NOT NULL,
        short_name TXT,
        DEP_LEVEL INTEGER NOT NULL,
        LOCATION INTEGER,
        COLLEGE TXT,
        DEP_SER INTEGER NOT NULL UNIQUE,
        parent INTEGER))",
    R"(CREATE TABLE VELM_DBASE.dn_tcher_mnger (
        tcher_no INTEGER PRIMARY KEY,
        tcher_cname TXT NOT NULL,
        tcher_ename TXT,
        tcher_dep_id TXT))",
    R"(CREATE TABLE VELM_DBASE.SUBJSELE_CURRENT (
        rsele_serno INTEGER PRIMARY KEY,
        year INTEGER NOT NULL,
        semester INTEGER NOT NULL,
        student_id TXT NOT NULL,
        subject_id TXT,
        rsubj_serno INTEGER NOT NULL,
        sorder INTEGER,
        sub_score TXT NOT NULL DEFAULT ''))",
    R"(CREATE TABLE VELM_DBASE.SUBJSELE_HISTORY (
        rsele_serno INTEGER PRIMARY KEY,
        year INTEGER NOT NULL,
        semester INTEGER NOT NULL,
        student_id TXT NOT NULL,
        subject_id TXT,
        rsubj_serno INTEGER NOT NULL,
        sorder INTEGER,
        sub_score TXT NOT NULL DEFAULT ''))",
    R"(CREATE TABLE VELM_DBASE.filter_sele (
        year INTEGER,
        section INTEGER,
        rsele_serno INTEGER,
        student_id TXT,
        subject_id TXT,
        rsubj_serno INTEGER,
        sorder INTEGER,
        filt_comment TXT,
        insert_datetime DATETIME))",

    // ---- course database: curriculum rules
    R"(CREATE TABLE VELM_DBASE.rule_subject (
        subject_sysno INTEGER PRIMARY KEY,
        subject_id TXT NOT NULL,
        subject_name TXT,
        subject_engname TXT,
        subject_credit REAL,
        across_sphere_id INTEGER,
        subject_eptype TXT,
        crossyear_flag INTEGER NOT NULL DEFAULT 0))",
    R"(CREATE TABLE VELM_DBASE.rule_program_basic (
        program_id INTEGER PRIMARY KEY,
        rule_year INTEGER NOT NULL,
        depyr_code TXT NOT NULL,
        program_name TXT))",
    R"(CREATE TABLE VELM_DBASE.rule_program_relation (
        ident INTEGER PRIMARY KEY,
        program_id INTEGER NOT NULL,
        depyr_code TXT NOT NULL,
        subject_sysno INTEGER NOT NULL,
        subject_must_sele TXT,
        subject_level TXT))",
    R"(CREATE TABLE VELM_DBASE.rule_general_sphere (
        sphere_id INTEGER PRIMARY KEY,
        sphere_sname TXT NOT NULL,
        sphere_default INTEGER,
        sphere_flag TXT))",
    R"(CREATE TABLE VELM_DBASE.rule_subject_sphere (
        subject_sysno INTEGER NOT NULL,
        dep_id TXT NOT NULL,
        across_sphere INTEGER NOT NULL,
        PRIMARY KEY (subject_sysno, dep_id, across_sphere)))",
    // Prerequisites of the programme rules; read through the view vwRule_Subject_Previous.
    R"(CREATE TABLE VELM_DBASE.rule_subject_previous (
        subject_sysno INTEGER NOT NULL,
        depyr_code TXT NOT NULL,
        pre_type TXT NOT NULL,
        pre_subject_sysno INTEGER NOT NULL,
        PRIMARY KEY (subject_sysno, depyr_code, pre_subject_sysno)))",
    R"(CREATE TABLE VELM_DBASE.seme_sui_basic (
        subject_id TXT PRIMARY KEY,
        S TXT,
        U TXT,
        I TXT))",

    // ---- account database
    R"(CREATE TABLE VELMCC_DB.user_data (
        u_id TXT PRIMARY KEY,
        u_name TXT,
        ident INTEGER NOT NULL,
        p_status TXT NOT NULL DEFAULT '1'))",
    // Roles of a person, first row (lowest role_order) = main role; read by velm_role_query.
    R"(CREATE TABLE VELMCC_DB.user_role (
        ident INTEGER NOT NULL,
        role_name TXT NOT NULL,
        role_order INTEGER NOT NULL DEFAULT 1,
        PRIMARY KEY (ident, role_name)))",
    // Departments granted to a curriculum-system user per design year; read by velm_role_depyear.
    R"(CREATE TABLE VELMCC_DB.user_role_depyear (
        ident INTEGER NOT NULL,
        year INTEGER NOT NULL,
        dep_code TXT NOT NULL,
        PRIMARY KEY (ident, year, dep_code)))",
    R"(CREATE TABLE VELMCC_DB.account_password (
        u_id TXT PRIMARY KEY,
        salt BLOB NOT NULL,
        hash BLOB NOT NULL,
        iterations INTEGER NOT NULL,
        disabled INTEGER NOT NULL DEFAULT 0))",

    // ---- facilities database
    R"(CREATE TABLE GADEP.RMR_YEARSEME (
        YEAR INTEGER NOT NULL,
        SEME INTEGER NOT NULL,
        SDATE DATETIME NOT NULL,
        EDATE DATETIME NOT NULL,
        PRIMARY KEY (YEAR, SEME)))",
    R"(CREATE TABLE GADEP.RMR_Room_master (
        room_id_no INTEGER PRIMARY KEY,
        room_name TXT NOT NULL,
        bld_name TXT NOT NULL,
        location INTEGER NOT NULL,
        people_num INTEGER))",
    R"(CREATE TABLE GADEP.RMR_Rent_master (
        rent_no TXT PRIMARY KEY,
        rent_dept TXT,
        rent_person TXT,
        ask_date DATETIME,
        con_tel TXT,
        rem TXT,
        room_id_no INTEGER,
        rent_date_week INTEGER,
        rent_start_date DATETIME,
        rent_end_date DATETIME,
        rent_start_time INTEGER,
        rent_end_time INTEGER,
        room_man TXT,
        input_date DATETIME,
        input_seq INTEGER,
        rent_ym TXT,
        sysrem TXT,
        SUBJECT_GROUP INTEGER,
        building_dep_yn TXT,
        rent_status TXT,
        email TXT,
        md_user TXT,
        status_date DATETIME))",
    R"(CREATE TABLE GADEP.RMR_Rent_list (
        room_id_no INTEGER NOT NULL,
        rent_date DATETIME NOT NULL,
        rent_time INTEGER NOT NULL,
        rent_no TXT NOT NULL))",

    // ---- academic database
    R"(CREATE TABLE ACADEMIC.tbZT_DEPYEAR (
        depyr_id INTEGER PRIMARY KEY,
        parent INTEGER,
        year INTEGER NOT NULL,
        depyr_code TXT NOT NULL,
        dep_code TXT NOT NULL,
        dep_name TXT NOT NULL DEFAULT '',
        DEP_ABBREV TXT NOT NULL DEFAULT '',
        d_type TXT,
        dep_level INTEGER,
        dorder INTEGER,
        location INTEGER,
        s1_class TXT NOT NULL DEFAULT ''))",
    R"(CREATE TABLE ACADEMIC.tbZT_DEPYEAR_DTYPE (
        d_type TXT PRIMARY KEY,
        d_order INTEGER NOT NULL,
        d_name TXT))",
    R"(CREATE TABLE ACADEMIC.tbZT_depyr_year_trace (
        depyr_codea TXT NOT NULL,
        depyr_codeb TXT NOT NULL,
        PRIMARY KEY (depyr_codea, depyr_codeb)))",
    // Subject equivalences (a code and the code it offsets); codes follow subject-code changes.
    R"(CREATE TABLE ACADEMIC.tb_Offset_SUBJECT (
        offset_id INTEGER PRIMARY KEY,
        subject_id1 TXT NOT NULL,
        subject_id2 TXT,
        year INTEGER))",
};

const char* const kIndexes[] = {
    "CREATE INDEX VELM_DBASE.ix_SEMESUBJECT_dep ON SEMESUBJECT (DEPARTMENT, YEAR, SEMESTER)",
    // With the year and semester so that the planner prefers it to ix_SEMESUBJECT_term when a query
    // names the group, the year and the semester (the combined limit of the offering check).
    "CREATE INDEX VELM_DBASE.ix_SEMESUBJECT_group ON SEMESUBJECT (SUBJECT_GROUP, YEAR, SEMESTER)",
    "CREATE INDEX VELM_DBASE.ix_SEMESUBJECT_term ON SEMESUBJECT (YEAR, SEMESTER, SUBJECT_ID)",
    "CREATE INDEX VELM_DBASE.ix_SEMETEACHER_tcher ON SEMETEACHER (TCHER_NO)",
    "CREATE INDEX VELM_DBASE.ix_SEMECLASSROOM_group ON SEMECLASSROOM (SUBJECT_GROUP)",
    "CREATE INDEX VELM_DBASE.ix_SEMECLASSROOM_slot ON SEMECLASSROOM (room_id_no, weekday, classno)",
    "CREATE INDEX VELM_DBASE.ix_SUB_CLASS_parent ON SUB_CLASS (parent)",
    "CREATE INDEX VELM_DBASE.ix_dn_tcher_mnger_dep ON dn_tcher_mnger (tcher_dep_id)",
    "CREATE INDEX VELM_DBASE.ix_SUBJSELE_CURRENT_serno ON SUBJSELE_CURRENT (rsubj_serno)",
    "CREATE INDEX VELM_DBASE.ix_SUBJSELE_HISTORY_serno ON SUBJSELE_HISTORY (rsubj_serno)",
    "CREATE INDEX VELM_DBASE.ix_rule_subject_id ON rule_subject (subject_id)",
    "CREATE INDEX VELM_DBASE.ix_rule_program_basic_dep ON rule_program_basic (rule_year, depyr_code)",
    "CREATE INDEX VELM_DBASE.ix_rule_program_relation_prog ON rule_program_relation (program_id)",
    "CREATE INDEX VELM_DBASE.ix_rule_program_relation_dep ON rule_program_relation (depyr_code)",
    "CREATE INDEX VELMCC_DB.ix_user_data_ident ON user_data (ident)",
    "CREATE INDEX GADEP.ix_Room_master_bld ON RMR_Room_master (location, bld_name)",
    "CREATE INDEX GADEP.ix_Rent_master_group ON RMR_Rent_master (SUBJECT_GROUP)",
    "CREATE INDEX GADEP.ix_Rent_master_room ON RMR_Rent_master (room_id_no)",
    "CREATE INDEX GADEP.ix_Rent_list_no ON RMR_Rent_list (rent_no)",
    "CREATE INDEX GADEP.ix_Rent_list_slot ON RMR_Rent_list (room_id_no, rent_date, rent_time)",
    "CREATE UNIQUE INDEX ACADEMIC.ux_tbZT_DEPYEAR_code ON tbZT_DEPYEAR (depyr_code, year)",
    "CREATE INDEX ACADEMIC.ix_tbZT_DEPYEAR_dep ON tbZT_DEPYEAR (year, dep_code)",
    "CREATE INDEX ACADEMIC.ix_tbZT_DEPYEAR_parent ON tbZT_DEPYEAR (parent)",
};

// Views of an attached database may only name objects of that database, hence unqualified names.
const char* const kViews[] = {
    R"(CREATE VIEW VELM_DBASE.vwRule_Subject_Previous AS
        SELECT p.subject_sysno AS subject_sysno,
               p.depyr_code AS depyr_code,
               p.pre_type AS pre_type,
               s.subject_name AS pre_subject_name,
               p.pre_subject_sysno AS pre_subject_sysno
        FROM rule_subject_previous p
        JOIN rule_subject s ON s.subject_sysno = p.pre_subject_sysno)",
};

QString expandTypes(const char* ddl) {
    static const QRegularExpression txt(QStringLiteral("\\bTXT\\b"));
    return QString::fromUtf8(ddl).replace(txt, QStringLiteral("TEXT COLLATE NOCASE"));
}

bool exec(sqlite3* db, const QString& sql, QString* error) {
    char* message = nullptr;
    const int rc = sqlite3_exec(db, sql.toUtf8().constData(), nullptr, nullptr, &message);
    if (rc == SQLITE_OK) return true;
    if (error)
        *error = QStringLiteral("%1 (%2)").arg(QString::fromUtf8(message ? message : sqlite3_errstr(rc)),
                                               sql.simplified().left(120));
    sqlite3_free(message);
    return false;
}

// All or nothing; a savepoint so that callers may already be inside a transaction.
bool execAll(sqlite3* db, const QStringList& statements, QString* error) {
    if (!exec(db, QStringLiteral("SAVEPOINT schema_ddl"), error)) return false;
    for (const QString& sql : statements) {
        if (!exec(db, sql, error)) {
            exec(db, QStringLiteral("ROLLBACK TO schema_ddl"), nullptr);
            exec(db, QStringLiteral("RELEASE schema_ddl"), nullptr);
            return false;
        }
    }
    return exec(db, QStringLiteral("RELEASE schema_ddl"), error);
}

} // namespace

bool createAll(sqlite3* db, QString* error) {
    QStringList statements;
    for (const char* ddl : kTables)
        statements << expandTypes(ddl);
    for (const char* ddl : kIndexes)
        statements << QString::fromUtf8(ddl);
    for (const char* ddl : kViews)
        statements << QString::fromUtf8(ddl);
    for (const char* name : {"VELM_DBASE", "VELMCC_DB", "GADEP", "ACADEMIC"})
        statements << QStringLiteral("PRAGMA %1.user_version = %2").arg(QLatin1String(name)).arg(kVersion);
    return execAll(db, statements, error);
}

bool createRuleYearTable(sqlite3* db, int year, QString* error) {
    const QString table = QStringLiteral("SUBJ_DESG_%1").arg(year);
    QStringList statements;
    statements << expandTypes(R"(CREATE TABLE IF NOT EXISTS VELM_DBASE.@T (
        SYEAR INTEGER NOT NULL,
        DEPYR_CODE TXT NOT NULL,
        LINETYPE TXT NOT NULL,
        SUBJ_CODE TXT,
        CONTENT TXT,
        ENG_NAME TXT,
        DEP_CLASS TXT,
        GC_TYPE TXT,
        EP_TYPE TXT,
        DEP_ID TXT))")
                      .replace(QLatin1String("@T"), table);
    statements
        << QStringLiteral("CREATE INDEX IF NOT EXISTS VELM_DBASE.ix_%1_dep ON %1 (DEPYR_CODE)").arg(table);
    statements
        << QStringLiteral("CREATE INDEX IF NOT EXISTS VELM_DBASE.ix_%1_code ON %1 (SUBJ_CODE)").arg(table);
    return execAll(db, statements, error);
}

bool createOldSemesterTable(sqlite3* db, int year, int semester, QString* error) {
    const QString table = QStringLiteral("SEMESUBJ_%1_%2").arg(year).arg(semester);
    const QString ddl = expandTypes(R"(CREATE TABLE IF NOT EXISTS VELM_DBASE.@T (
        SUBJECT_ID TXT,
        DEPARTMENT TXT,
        MUST TXT,
        TEACHER TXT,
        CLASS_TIME TXT,
        CLASS_ROOM TXT,
        YEAR INTEGER,
        SECTION INTEGER,
        SUBJ_MODE TXT,
        "LIMIT" INTEGER,
        S_NAME TXT,
        S_SCORE TXT,
        E_NAME TXT,
        BELONG TXT,
        WORK_PLACE TXT,
        NOTE TXT,
        SUBMIT_ID TXT,
        SAVE_ID TXT,
        PRE_SUBJECT_ID TXT,
        GC_CODE TXT,
        EP_FIELD TXT,
        TCHER_NO TXT,
        SEME_ENG TXT,
        subj_sys_no INTEGER,
        GC_FIELD TXT,
        PRE_SUBJECT_CODE TXT,
        FILT_SUBJ_MODE TXT,
        FILT_LIMIT INTEGER,
        IsEval INTEGER))")
                            .replace(QLatin1String("@T"), table);
    return execAll(db, {ddl}, error);
}

} // namespace dudodu::engine::schema
