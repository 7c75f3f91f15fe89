// The write batches of the client, composed line by line as the client composes them, for tests
// that run them on the engine and look at the rows they leave. Lines are joined with line breaks.
#pragma once

#include <QDate>
#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>

namespace dudodu::test::batch {

// Text in single quotes with embedded quotes doubled.
inline QString q(const QString& text) {
    return QLatin1Char('\'') + QString(text).replace(QLatin1Char('\''), QLatin1String("''")) +
           QLatin1Char('\'');
}
// Text placed inside a string literal the composition has already opened.
inline QString inner(const QString& text) {
    return QString(text).replace(QLatin1Char('\''), QLatin1String("''"));
}
inline QString n(qint64 v) {
    return QString::number(v);
}
// Shortest decimal form with a point: 3 gives 3, 2.5 gives 2.5.
inline QString num(double v) {
    return QString::number(v, 'g', 15);
}

// The six lines that follow a statement of a transactional batch.
inline QStringList errorBlock(const QString& key, const QString& message) {
    return {QStringLiteral("if @@error<>0"),
            QStringLiteral("begin"),
            QStringLiteral("   raiserror ('[") + inner(key) + message,
            QStringLiteral("   rollback"),
            QStringLiteral("   return"),
            QStringLiteral("end")};
}

struct Room {
    qint64 id = -1;
    QString name;
    int location = 1;
    QList<QPair<int, int>> times; // weekday, period, in the order they were added
};

// The values of one offering record as the insert and update read them.
struct Offering {
    qint64 serial = 0, group = 0;
    QString depyr, subjectId, subjectIdSec, department, must = QStringLiteral("選");
    int year = 0, semester = 0;
    QString yearText, semesterText; // as typed in the window
    QString subjMode = QStringLiteral("0");
    int limit = 999;
    QString name, englishName;
    double credit = 3, hours = 3;
    int lab = 0;
    QString belong, belongDepyr, workPlace = QStringLiteral("學一"), note, epField;
    int semeEng = 2;
    qint64 subjectSysno = -1, programId = -1;
    QString preDepyr;
    int isEval = 1, status = 2, isExpand = 2, fromYear = 0;
    QString fromDep;
    int salary = 1, eval = 1;
    QString crUser, mdUser, termId = QStringLiteral("0"), term, crsDepyr, subjKind, flagS, flagU, flagI;
    int ruleRel = 0;
    QList<QPair<QString, QString>> teachers; // number text, name
    QStringList prerequisites;
    QList<QPair<QString, QString>> fields; // general-education code, name
    QList<Room> rooms;                     // up to three
    int specialSchedule = 0;               // 0, or the schedule item 1..4 (weekday -item)
    QStringList featured, featuredSub;
    QString windowStart, windowEnd; // rental window texts as the database returns them
    QStringList rentNumbers;        // one per run, in booking order
};

// The short date form of the booking rows and the rental-conflict list.
inline QString shortDate(const QDate& d) {
    return d.toString(QStringLiteral("yyyy/MM/dd"));
}

struct Run {
    int weekday, first, last;
};

// Runs of a list: slots in list order on the same weekday with periods rising by one.
inline QList<Run> runsOf(const Room& room) {
    QList<Run> runs;
    for (const auto& [weekday, period] : room.times) {
        if (!runs.isEmpty() && runs.last().weekday == weekday && period == runs.last().last + 1)
            runs.last().last = period;
        else
            runs.append({weekday, period, period});
    }
    return runs;
}

inline QStringList roomInsert(const Offering& o, const Room& r, int weekday, int period) {
    return {
        QStringLiteral("insert VELM_DBASE..SEMECLASSROOM(SUBJECT_GROUP,room_id_no,classroom,weekday,classno,"
                       "location) values(") +
        n(o.group) + QLatin1Char(',') + n(r.id) + QLatin1Char(',') + q(r.name) + QLatin1Char(',') +
        n(weekday) + QLatin1Char(',') + n(period) + QLatin1Char(',') + n(r.location) + QLatin1Char(')')};
}

inline QString specialRoomInsert(const Offering& o) {
    return QStringLiteral(
               "insert VELM_DBASE..SEMECLASSROOM(SUBJECT_GROUP,room_id_no,classroom,weekday,classno,"
               "location) values(") +
           n(o.group) + QStringLiteral(", -1") + QStringLiteral(", ") + q(QStringLiteral("其他")) +
           QLatin1Char(',') + n(-o.specialSchedule) + QStringLiteral(", -1") + QStringLiteral(", 3") +
           QLatin1Char(')');
}

// Master and day rows of the rentals of one room; masterPrefix differs in blanks between the
// insert and the update.
inline QStringList rentalLines(const Offering& o, const Room& r, QStringList& rentNumbers,
                               const QString& masterPrefix) {
    QStringList lines;
    const QList<Run> runs = runsOf(r);
    for (int k = 0; k < runs.size(); ++k) {
        const Run& run = runs.at(k);
        const QString no = rentNumbers.takeFirst();
        const int week = run.weekday <= 6 ? run.weekday + 1 : 1;
        const QString ym = o.yearText + o.semesterText;
        lines << masterPrefix + q(no) + QStringLiteral("  ,") + q(QStringLiteral("課務組")) +
                     QStringLiteral("  ,") + q(QStringLiteral("課表")) + QStringLiteral("  , GETDATE()") +
                     QStringLiteral("  ,") + q(QStringLiteral("2124")) + QStringLiteral("  ,") +
                     q(QStringLiteral("課表轉檔")) + QStringLiteral("  ,") + n(r.id) + QStringLiteral("  ,") +
                     n(week) + QStringLiteral("  ,") + q(o.windowStart) + QStringLiteral("  ,") +
                     q(o.windowEnd) + QStringLiteral("  ,") + n(run.first + 5) + QStringLiteral("  ,") +
                     n(run.last + 6) + QStringLiteral("  ,") + q(QStringLiteral("qv")) +
                     QStringLiteral("  ,GETDATE()") + QStringLiteral("  ,") + n(k + 1) +
                     QStringLiteral("  ,") + q(ym) + QStringLiteral("  ,") + q(ym + QStringLiteral("課表")) +
                     QStringLiteral("  ,") + n(o.group) + QStringLiteral("  ,") + q(QStringLiteral("核准")) +
                     QLatin1Char(')');
        // The first day keeps the text the database gave; later days are written in the short form.
        QString dayText = o.windowStart;
        QDate day = QDate::fromString(o.windowStart.left(10), QStringLiteral("yyyy-MM-dd"));
        const QDate end = QDate::fromString(o.windowEnd.left(10), QStringLiteral("yyyy-MM-dd"));
        while (day.isValid() && end >= day) {
            if (day.dayOfWeek() % 7 == week - 1) {
                for (int t = run.first + 5; t <= run.last + 5; ++t)
                    lines << QStringLiteral(
                                 "INSERT INTO [GADEP].[dbo].[RMR_Rent_list]([room_id_no],[rent_date],"
                                 "[rent_time],[rent_no]) VALUES(") +
                                 n(r.id) + QLatin1Char(',') + q(dayText) + QLatin1Char(',') + n(t) +
                                 QLatin1Char(',') + q(no) + QLatin1Char(')');
            }
            day = day.addDays(1);
            dayText = shortDate(day);
        }
    }
    return lines;
}

inline QStringList teacherInsert(const Offering& o, int i) {
    return {QStringLiteral("insert VELM_DBASE..SEMETEACHER(SUBJECT_GROUP,TCHER_NO,TCHER_NAME,seq) values(") +
            n(o.group) + QLatin1Char(',') + o.teachers.at(i).first + QLatin1Char(',') +
            q(o.teachers.at(i).second) + QLatin1Char(',') + n(i + 1) + QLatin1Char(')')};
}

inline QStringList featuredLines(const Offering& o, bool update) {
    QStringList lines;
    for (const QString& item : o.featured)
        lines << QStringLiteral("  INSERT INTO [VELM_DBASE].[dbo].[SEMECDIO] (RSUBJ_SERNO,CDIO_NAME,CR_DATE)")
              << QStringLiteral(" VALUES(") + n(o.serial) << QStringLiteral(" ,") + q(item)
              << QStringLiteral(" ,GETDATE() ) ");
    for (const QString& sub : o.featuredSub)
        lines << QStringLiteral("  INSERT INTO [VELM_DBASE].[dbo].") +
                     (update ? QStringLiteral("[SEMEsubCDIO]") : QStringLiteral("[SEMESUBCDIO]")) +
                     QStringLiteral(" (RSUBJ_SERNO,CDIOSYSNO,CDIO_SUBNAME,CR_DATE,subsysno)")
              << QStringLiteral(" VALUES(") + n(o.serial) << QStringLiteral(" ,9")
              << QStringLiteral(" ,") + q(sub)
              << (update ? QStringLiteral(" ,GETDATE()") : QStringLiteral(" ,GETDATE() "))
              << QStringLiteral(" ,(select  sysno from VELM_DBASE..SEMECDIOSUBITEM  ")
              << QStringLiteral(" where cdiosubitem=") + q(sub) + QLatin1Char(')')
              << (update ? QStringLiteral("  ) ") : QStringLiteral(" ) "));
    return lines;
}

inline bool booksRentals(const Offering& o) {
    return o.specialSchedule == 0 && (o.yearText + o.semesterText).toInt() > 1011;
}

// The batch that stores a new offering with its child rows and its room rentals.
inline QStringList insertBatch(const Offering& o) {
    const QString id = o.subjectId;
    QStringList b{QStringLiteral("begin transaction")};
    const QStringList values{
        n(o.serial),       n(o.group),        q(o.depyr),       q(o.subjectId),
        q(o.department),   q(o.must),         n(o.year),        n(o.semester),
        q(o.subjMode),     n(o.limit),        q(o.name),        num(o.credit),
        num(o.hours),      n(o.lab),          q(o.englishName), q(o.belong),
        q(o.belongDepyr),  q(o.workPlace),    q(o.note),        q(o.epField),
        n(o.semeEng),      n(o.subjectSysno), n(o.programId),   q(o.preDepyr),
        n(o.isEval),       n(o.status),       n(o.isExpand),    n(o.fromYear),
        q(o.fromDep),      n(o.salary),       n(o.eval),        QStringLiteral("getdate()"),
        q(o.crUser),       q(o.termId),       q(o.term),        q(o.crsDepyr),
        q(o.subjectIdSec), q(n(o.ruleRel)),   q(o.subjKind),    q(o.flagS),
        q(o.flagU),        q(o.flagI)};
    b << QStringLiteral(
             "insert VELM_DBASE..SEMESUBJECT(RSUBJ_SERNO,SUBJECT_GROUP,DEPYR_CODE,SUBJECT_ID,DEPARTMENT,"
             "MUST,YEAR,SEMESTER,SUBJ_MODE,LIMIT,S_NAME,CREDIT,HOUR,LAB,E_NAME,BELONG,BELONG_DEPYR_CODE,"
             "WORK_PLACE,NOTE,EP_FIELD,SEME_ENG,SUBJECT_SYSNO,PROGRAM_ID,PRE_DEPYRCODE,IsEval,status,"
             "IsExpand,fromyear,fromdep,salarygroup,evalgroup,cr_date,cr_userid,term_id,term,"
             "CRS_DEPYR_CODE,SUBJECT_ID_SEC,rule_rel,subj_kind,S,U,I) values(") +
             values.join(QLatin1Char(',')) + QLatin1Char(')');
    b << errorBlock(id, QStringLiteral("]無法新增課主檔。', 16, 1)"));
    for (int i = 0; i < o.teachers.size(); ++i)
        b << teacherInsert(o, i) << errorBlock(id, QStringLiteral("] 無法新增教師資料。', 16, 1)"));
    if (o.subjectSysno < 0) {
        for (int i = 0; i < o.prerequisites.size(); ++i)
            b << QStringLiteral(
                     "insert VELM_DBASE..SEMEOLD_PRESUBJ(SUBJECT_GROUP,seq,pre_subject_name) values(") +
                     n(o.group) + QLatin1Char(',') + n(i) + QLatin1Char(',') + q(o.prerequisites.at(i)) +
                     QLatin1Char(')')
              << errorBlock(id, QStringLiteral("] 無法新增舊課規先修科目。', 16, 1)"));
    }
    for (int i = 0; i < o.fields.size(); ++i)
        b << QStringLiteral("insert VELM_DBASE..SEMEGC_FIELD(SUBJECT_GROUP,seq,gc_code,gc_field) values(") +
                 n(o.group) + QLatin1Char(',') + n(i + 1) + QLatin1Char(',') + q(o.fields.at(i).first) +
                 QLatin1Char(',') + q(o.fields.at(i).second) + QLatin1Char(')')
          << errorBlock(n(o.group), QStringLiteral("]無法新增通識領域。', 16, 1)"));
    const QString roomMessage = QStringLiteral("]無法新增教室、上課時間資料。', 16, 1)");
    if (o.specialSchedule != 0) {
        b << specialRoomInsert(o) << errorBlock(id, roomMessage);
    } else {
        for (const Room& r : o.rooms)
            if (!r.name.isEmpty())
                for (const auto& [weekday, period] : r.times)
                    b << roomInsert(o, r, weekday, period) << errorBlock(id, roomMessage);
    }
    b << featuredLines(o, false);
    if (booksRentals(o)) {
        QStringList numbers = o.rentNumbers;
        for (const Room& r : o.rooms)
            if (!r.name.isEmpty())
                b << rentalLines(
                    o, r, numbers,
                    QStringLiteral("  INSERT INTO [GADEP].[dbo].[RMR_Rent_master]    ([rent_no]    "
                                   ",[rent_dept]     ,[rent_person]   ,[ask_date]   ,[con_tel]    "
                                   ",[rem]    ,[room_id_no]   ,[rent_date_week]   ,[rent_start_date]   "
                                   ",[rent_end_date]    ,[rent_start_time]   ,[rent_end_time]   "
                                   ",[room_man]      ,[input_date]   ,[input_seq]  ,[rent_ym]    "
                                   ",[sysrem]   ,SUBJECT_GROUP  ,rent_status)   VALUES   ("));
    }
    b << QStringLiteral("commit transaction");
    return b;
}

// The batch that rewrites a stored offering; roomsTouched and fieldsTouched are the lists' marks.
inline QStringList updateBatch(const Offering& o, bool roomsTouched, bool fieldsTouched) {
    const QString g = n(o.group);
    const QString s = n(o.serial);
    QStringList b{QStringLiteral("begin transaction")};
    b << QStringLiteral("update VELM_DBASE..SEMESUBJECT set DEPYR_CODE=") + q(o.depyr) +
             QStringLiteral(",MUST=") + q(o.must) + QStringLiteral(",SUBJ_MODE=") + q(o.subjMode) +
             QStringLiteral(",LIMIT=") + n(o.limit) + QStringLiteral(",S_NAME=") + q(o.name) +
             QStringLiteral(",CREDIT=") + num(o.credit) + QStringLiteral(",HOUR=") + num(o.hours) +
             QStringLiteral(",LAB=") + n(o.lab) + QStringLiteral(",E_NAME=") + q(o.englishName) +
             QStringLiteral(",BELONG=") + q(o.belong) + QStringLiteral(",BELONG_DEPYR_CODE =") +
             q(o.belongDepyr) + QStringLiteral(",WORK_PLACE=") + q(o.workPlace) + QStringLiteral(",NOTE=") +
             q(o.note) + QStringLiteral(",EP_FIELD=") + q(o.epField) + QStringLiteral(",SEME_ENG=") +
             n(o.semeEng) + QStringLiteral(",IsEval=") + n(o.isEval) + QStringLiteral(",SalaryGroup=") +
             n(o.salary) + QStringLiteral(",EvalGroup=") + n(o.eval) + QStringLiteral(",md_date=getdate()") +
             QStringLiteral(",md_userid=") + q(o.mdUser) + QStringLiteral(",term_id=") + q(o.termId) +
             QStringLiteral(",term=") + q(o.term) + QStringLiteral(",CRS_DEPYR_CODE=") + q(o.crsDepyr) +
             QStringLiteral(",subj_kind=") + q(o.subjKind) + QStringLiteral(",S=") + q(o.flagS) +
             QStringLiteral(",U=") + q(o.flagU) + QStringLiteral(",I=") + q(o.flagI) +
             QStringLiteral(" where RSUBJ_SERNO=") + s;
    b << errorBlock(s, QStringLiteral("]無法更新開課主檔。', 16, 1)"));
    if (o.specialSchedule != 0 || roomsTouched) {
        b << QStringLiteral("delete VELM_DBASE..SEMECLASSROOM where SUBJECT_GROUP=") + g
          << errorBlock(g, QStringLiteral("]無法刪除教室、上課時間資料。', 16, 1)"))
          << QStringLiteral(" delete GADEP..RMR_Rent_list where rent_no in(select rent_no from "
                            "GADEP..RMR_Rent_master where SUBJECT_GROUP=") +
                 g + QLatin1Char(')')
          << QStringLiteral(" delete GADEP..RMR_Rent_master where SUBJECT_GROUP=") + g;
    }
    if (o.specialSchedule != 0) {
        b << specialRoomInsert(o)
          << errorBlock(o.subjectId, QStringLiteral("]無法新增教室、上課時間資料。', 16, 1)"));
    } else if (roomsTouched) {
        QStringList numbers = o.rentNumbers;
        for (const Room& r : o.rooms) {
            if (r.name.isEmpty()) continue;
            for (const auto& [weekday, period] : r.times)
                b << roomInsert(o, r, weekday, period)
                  << errorBlock(g, QStringLiteral("]無法更新教室、上課時間資料。', 16, 1)"));
            if (booksRentals(o))
                b << rentalLines(
                    o, r, numbers,
                    QStringLiteral("  INSERT INTO [GADEP].[dbo].[RMR_Rent_master]    ([rent_no]   "
                                   ",[rent_dept]     ,[rent_person]   ,[ask_date]   ,[con_tel]    "
                                   ",[rem]    ,[room_id_no]   ,[rent_date_week]   ,[rent_start_date]   "
                                   ",[rent_end_date]    ,[rent_start_time]   ,[rent_end_time]   "
                                   ",[room_man]      ,[input_date]   ,[input_seq]  ,[rent_ym]     "
                                   ",[sysrem]    ,SUBJECT_GROUP   ,rent_status)   VALUES   ("));
        }
    }
    b << QStringLiteral("delete VELM_DBASE..SEMETEACHER where SUBJECT_GROUP=") + g
      << errorBlock(g, QStringLiteral("]無法刪除教師資料。', 16, 1)"));
    for (int i = 0; i < o.teachers.size(); ++i)
        b << teacherInsert(o, i) << errorBlock(g, QStringLiteral("]無法新增教師資料。', 16, 1)"));
    Offering onlyItems = o;
    onlyItems.featuredSub.clear();
    Offering onlySubItems = o;
    onlySubItems.featured.clear();
    b << QStringLiteral(" delete VELM_Dbase..SEMECDIO where RSUBJ_SERNO=") + s
      << featuredLines(onlyItems, true);
    b << QStringLiteral(" delete VELM_Dbase..SEMESUBCDIO where RSUBJ_SERNO=") + s
      << featuredLines(onlySubItems, true);
    if (fieldsTouched) {
        b << QStringLiteral("delete VELM_DBASE..SEMEGC_FIELD where SUBJECT_GROUP=") + g
          << errorBlock(g, QStringLiteral("]無法刪除通識領域資料。', 16, 1)"));
        for (int i = 0; i < o.fields.size(); ++i)
            b << QStringLiteral(
                     "insert VELM_DBASE..SEMEGC_FIELD(SUBJECT_GROUP,seq,gc_code,gc_field) values(") +
                     g + QLatin1Char(',') + n(i) + QLatin1Char(',') + q(o.fields.at(i).first) +
                     QLatin1Char(',') + q(o.fields.at(i).second) + QLatin1Char(')')
              << errorBlock(g, QStringLiteral("]無法新增通識領域資料。', 16, 1)"));
    }
    b << QStringLiteral("commit transaction");
    return b;
}

// The batch that deletes an offering and moves its course selections to filter_sele.
inline QStringList deleteBatch(qint64 serial, qint64 group) {
    const QString s = n(serial);
    const QString g = n(group);
    auto block = [](const QString& raise) {
        return QStringList{
            QStringLiteral("if @@error<>0"), QStringLiteral("begin"),     raise,
            QStringLiteral("   rollback"),   QStringLiteral("   return"), QStringLiteral("end")};
    };
    auto keyed = [&](const QString& text) { return QStringLiteral("   raiserror ('[") + g + text; };
    QStringList b{QStringLiteral("begin transaction")};
    b << QStringLiteral("delete VELM_DBASE..SEMESUBJECT where RSUBJ_SERNO=") + s
      << block(QStringLiteral("   raiserror ('無法新增開課記錄。', 16, 1)"));
    b << QStringLiteral("delete VELM_DBASE..SEMECLASSROOM where SUBJECT_GROUP=") + g
      << block(keyed(QStringLiteral("]無法刪除教室、上課時間資料。', 16, 1)")));
    b << QStringLiteral(" delete GADEP..RMR_Rent_LIST where rent_no in (select distinct rent_no from "
                        "GADEP..RMR_Rent_master where subject_group =") +
             g + QLatin1Char(')')
      << block(keyed(QStringLiteral("]無法刪除講堂明細資料。', 16, 1)")));
    b << QStringLiteral(" delete  GADEP..RMR_Rent_master where  SUBJECT_GROUP=") + g
      << block(keyed(QStringLiteral("]無法刪除講堂主檔資料。', 16, 1)")));
    b << QStringLiteral("delete VELM_DBASE..SEMETEACHER where SUBJECT_GROUP=") + g
      << block(keyed(QStringLiteral("]無法刪除教師資料。', 16, 1)")));
    b << QStringLiteral("delete VELM_DBASE..SEMEGC_FIELD where SUBJECT_GROUP=") + g
      << block(keyed(QStringLiteral("]無法刪除通識領域資料。', 16, 1)")));
    b << QStringLiteral(" delete VELM_DBASE..SEMECDIO  where  RSUBJ_SERNO=") + s
      << block(keyed(QStringLiteral("]無法刪除特色課程資料。', 16, 1)")));
    for (const QString& table : {QStringLiteral("history"), QStringLiteral("current")}) {
        const QString upper = table.toUpper();
        b << QStringLiteral("if (select count(*) from velm_dbase..subjsele_") + table +
                 QStringLiteral(") > 0")
          << QStringLiteral("begin")
          << (table == QLatin1String("history")
                  ? QStringLiteral("insert into velm_dbase..filter_sele (year,section,rsele_serno,student_id,"
                                   "subject_id,rsubj_serno,sorder,filt_comment,insert_datetime)")
                  : QStringLiteral(
                        "insert into velm_dbase..filter_sele (year,section  ,rsele_serno,student_id,"
                        "subject_id,rsubj_serno,sorder,filt_comment,insert_datetime)"))
          << QStringLiteral(
                 "select year,semester,rsele_serno,student_id,subject_id,rsubj_serno,sorder,'開課刪除',"
                 "getdate()")
          << QStringLiteral("from velm_dbase..subjsele_") + table + QStringLiteral(" se where rsubj_serno=") +
                 s
          << block(QStringLiteral("   raiserror ('無法搬動") + upper + QStringLiteral("選課記錄。', 16, 1)"))
          << QStringLiteral("delete from velm_dbase..subjsele_") + table +
                 QStringLiteral(" where rsubj_serno=") + s
          << block(QStringLiteral("   raiserror ('無法刪除") + upper + QStringLiteral("選課記錄。', 16, 1)"))
          << QStringLiteral("end");
    }
    b << QStringLiteral("commit transaction");
    return b;
}

// Joins offering `serial` into group `group`: its old group's rooms and bookings go.
inline QStringList joinBatch(qint64 serial, qint64 group) {
    return {QStringLiteral("declare @subject_group int"),
            QStringLiteral("declare @rent_no varchar(15)"),
            QStringLiteral(
                "select @subject_group=subject_group from VELM_DBASE..semesubject where RSUBJ_SERNO=") +
                n(serial),
            QStringLiteral(
                " select @rent_no=rent_no from GADEP..RMR_Rent_master where subject_group=@subject_group"),
            QStringLiteral("if exists (select subject_group from VELM_DBASE..SEMECLASSROOM where "
                           "subject_group=@subject_group)"),
            QStringLiteral("delete VELM_DBASE..SEMECLASSROOM where subject_group=@subject_group"),
            QStringLiteral("if  exists ( select subject_group from GADEP..RMR_Rent_master where "
                           "subject_group=@subject_group)"),
            QStringLiteral("delete GADEP..RMR_Rent_master where subject_group=@subject_group"),
            QStringLiteral("if  exists ( select rent_no from GADEP..RMR_Rent_list where rent_no=@rent_no)"),
            QStringLiteral("delete GADEP..RMR_Rent_list where rent_no=@rent_no"),
            QStringLiteral("update VELM_DBASE..semesubject set subject_group=") + n(group) +
                QStringLiteral(" where RSUBJ_SERNO=") + n(serial)};
}

// The bookings of a listed offering, found when it heads its group.
inline QStringList separateBookingsQuery(qint64 serial) {
    return {
        QStringLiteral("declare @subject_group int"),
        QStringLiteral("select @subject_group=rsubj_serno from VELM_DBASE..semesubject where RSUBJ_SERNO=") +
            n(serial),
        QStringLiteral(
            "select rent_no,subject_group from [GADEP].[dbo].[RMR_Rent_master] where subject_group "
            "=@subject_group")};
}

inline QStringList separateMembersQuery(qint64 group) {
    return {QStringLiteral(" select rsubj_serno from VELM_DBase..SEMESUBJECT where SUBJECT_GROUP=") +
            n(group) + QStringLiteral("  and (subject_group<>RSUBJ_SERNO)")};
}

// Copies booking `from` with its day rows as booking `to` of group member `member`.
inline QStringList copyBookingBatch(const QString& to, qint64 member, const QString& from) {
    return {QStringLiteral(
                " insert into GADEP..RMR_Rent_master (rent_no,rent_dept,rent_person,ask_date,con_tel,rem,"
                "room_id_no  ,rent_date_week,rent_start_date,rent_end_date,rent_start_time,rent_end_time,"
                "room_man,input_date  ,input_seq,rent_ym,sysrem,SUBJECT_GROUP,building_dep_yn,rent_status,"
                "email,md_user,status_date) select ") +
                to + QStringLiteral(",rent_dept ") + QStringLiteral(",rent_person") +
                QStringLiteral(",ask_date") + QStringLiteral(",con_tel") + QStringLiteral(",rem") +
                QStringLiteral(",room_id_no ") + QStringLiteral(",rent_date_week ") +
                QStringLiteral(",rent_start_date") + QStringLiteral(",rent_end_date") +
                QStringLiteral(",rent_start_time ") + QStringLiteral(",rent_end_time ") +
                QStringLiteral(",room_man ") + QStringLiteral(",input_date") + QStringLiteral(",input_seq") +
                QStringLiteral(",rent_ym") + QStringLiteral(",sysrem") + QLatin1Char(',') + n(member) +
                QLatin1Char(',') + QStringLiteral("'  '") + QLatin1Char(',') + QStringLiteral("'核准'") +
                QLatin1Char(',') + QStringLiteral("'  '") + QLatin1Char(',') + QStringLiteral("'  '") +
                QLatin1Char(',') + QStringLiteral("'  '") +
                QStringLiteral(" from GADEP..RMR_Rent_master where rent_no=") + q(from),
            QStringLiteral(
                " insert into [GADEP].[dbo].[RMR_Rent_list] (room_id_no,rent_date,rent_time,rent_no) "),
            QStringLiteral(" select room_id_no,rent_date,rent_time,") + to +
                QStringLiteral(" from   [GADEP].[dbo].[RMR_Rent_list]  where rent_no=") + q(from)};
}

// Makes offering `serial` its own group again with copies of its group's child rows.
inline QStringList separateBatch(qint64 serial) {
    const QString r = n(serial);
    QStringList b{QStringLiteral("declare @subject_group int"),
                  QStringLiteral(
                      "select @subject_group=subject_group from VELM_DBASE..semesubject where RSUBJ_SERNO=") +
                      r};
    const QList<QPair<QString, QString>> copies{
        {QStringLiteral("SEMETEACHER"), QStringLiteral(",seq,TCHER_NO,TCHER_NAME")},
        {QStringLiteral("SEMEOLD_PRESUBJ"), QStringLiteral(",seq, pre_subject_name")},
        {QStringLiteral("SEMEGC_FIELD"), QStringLiteral(", seq, gc_code, gc_field")},
        {QStringLiteral("SEMECLASSROOM"),
         QStringLiteral(", room_id_no, classroom, weekday, classno, location")}};
    for (const auto& [table, columns] : copies)
        b << QStringLiteral("if not exists (select subject_group from VELM_DBASE..") + table +
                 QStringLiteral(" where subject_group=") + r + QLatin1Char(')')
          << QStringLiteral("insert into VELM_DBASE..") + table + QStringLiteral(" select ") + r + columns +
                 QStringLiteral(" from VELM_DBASE..") + table +
                 QStringLiteral(" where subject_group=@subject_group");
    b << QStringLiteral("update VELM_DBASE..semesubject set subject_group=RSUBJ_SERNO where RSUBJ_SERNO=") +
             r;
    return b;
}

} // namespace dudodu::test::batch
