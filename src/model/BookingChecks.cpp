// The four checks the save runs on a room list before it writes anything.
#include "model/ClassRoomList.h"

#include "common/Helpers.h"
#include "common/SqlText.h"
#include "db/DataSet.h"
#include "db/Errors.h"
#include "model/Clock.h"

namespace dudodu {

namespace {

// A number taken from a control or a slot line; checked, as it goes into SQL text unquoted.
int IntegerValue(const QString& text) {
    bool ok = false;
    const int value = text.trimmed().toInt(&ok);
    if (!ok) throw TAppError(QStringLiteral("'%1' is not a valid integer value").arg(text));
    return value;
}

QString SqlInteger(const QString& text) {
    return SqlNumber(IntegerValue(text));
}

QString YearSemeCondition(const TBookingContext& context) {
    return QStringLiteral("YEAR=") + SqlInteger(context.YearText()) + QStringLiteral(" and SEME=") +
           SqlInteger(context.SemesterText());
}

} // namespace

bool TCLASSROOMList::HasRoomSharingConflict(int subjectGroup, int year, int semester,
                                            TBookingContext& context) const {
    if (FRoomIdNo == -1) return false;
    for (int i = 0; i < Count(); ++i) {
        const QString sql =
            QStringLiteral(
                "select b.DEPARTMENT, b.SUBJECT_ID, b.S_NAME from VELM_DBASE..SEMECLASSROOM a join "
                "VELM_DBASE..SEMESUBJECT b on (a.SUBJECT_GROUP=b.SUBJECT_GROUP) where b.year=") +
            SqlNumber(year) + QStringLiteral(" and b.semester=") + SqlNumber(semester) +
            QStringLiteral(" and b.status<>1") + QStringLiteral(" and a.subject_group<>") +
            SqlNumber(subjectGroup) + QStringLiteral(" and a.room_id_no=") + SqlNumber(FRoomIdNo) +
            QStringLiteral(" and a.weekday=") + SqlInteger(Names(i)) + QStringLiteral(" and a.classno=") +
            SqlInteger(ValueFromIndex(i));
        QString question;
        ForEachRow(&context.Query(), sql, [&](TQueryDataSet& q) {
            if (!question.isEmpty()) return; // only the first colliding offering is named
            question = QStringLiteral("上課教室、時間與") +
                       q.fieldByName(QStringLiteral("DEPARTMENT")).asString() + QStringLiteral("系，") +
                       q.fieldByName(QStringLiteral("SUBJECT_ID")).asString() + QStringLiteral(":") +
                       q.fieldByName(QStringLiteral("S_NAME")).asString() + QStringLiteral("衝堂。") +
                       QStringLiteral("請問是否為合班上課?");
        });
        if (question.isEmpty()) continue;
        if (MsgBox(question, QStringLiteral("訊息"), {TMsgButton::Yes, TMsgButton::No}, TMsgIcon::Question) ==
            TMsgButton::No)
            return true;
    }
    return false;
}

bool TCLASSROOMList::CheckRoomCapacity(TBookingContext& context) const {
    const QString limitText = context.LimitText();
    bool result = true;
    bool unlimitedRoom = false;
    ForEachRow(&context.Query(),
               QStringLiteral("select people_num from GADEP..RMR_Room_master  where room_id_no=") +
                   SqlNumber(FRoomIdNo),
               [&](TQueryDataSet& q) {
                   if (unlimitedRoom) return;
                   const TField people = q.fieldByName(QStringLiteral("people_num"));
                   if (people.isNull()) {
                       unlimitedRoom = true;
                       return;
                   }
                   if (people.asInteger() < IntegerValue(limitText) && limitText != QStringLiteral("999")) {
                       ShowMessage(QStringLiteral("無法儲存限修人數超過教室容量僅可容納") +
                                   people.asString() + QStringLiteral("人"));
                       result = false;
                   }
               });
    return unlimitedRoom || result;
}

bool TCLASSROOMList::CheckTeacherTimes(TBookingContext& context) const {
    const int excluded = context.CurrentSerial();
    const QString year = SqlInteger(context.YearText());
    const QString semester = SqlInteger(context.SemesterText());
    QString message;
    for (const QString& entry : context.TeacherLines()) {
        const qsizetype eq = entry.indexOf(QLatin1Char('='));
        const QString teacherText = eq < 0 ? entry : entry.left(eq);
        bool numeric = false;
        const int teacher = teacherText.trimmed().toInt(&numeric);
        // Teacher numbers are integers; anything else cannot collide and must not reach the SQL.
        if (!numeric) continue;
        for (int i = 0; i < Count(); ++i) {
            QStringList sql{
                QStringLiteral("select"),
                QStringLiteral(" A.SUBJECT_ID,"),
                QStringLiteral(" A.S_NAME,"),
                QStringLiteral(" C.SUBJECT_GROUP,"),
                QStringLiteral(" C.classno, "),
                QStringLiteral(" C.weekday,"),
                QStringLiteral(" C.room_id_no,"),
                QStringLiteral(" B.TCHER_NO,"),
                QStringLiteral(" CAST(B.TCHER_NO AS VARCHAR)"),
                QStringLiteral(" +CAST(C.weekday AS VARCHAR)"),
                QStringLiteral(" +CAST(C.classno AS VARCHAR)"),
                QStringLiteral(" from      "),
                QStringLiteral("  VELM_DBase..SEMESUBJECT   as A INNER JOIN   "),
                QStringLiteral("  VELM_DBASE..SEMETEACHER  AS B  ON A.SUBJECT_GROUP=B.SUBJECT_GROUP   "
                               "INNER JOIN   "),
                QStringLiteral("  VELM_DBASE..SEMECLASSROOM AS C ON A.SUBJECT_GROUP=C.SUBJECT_GROUP  "),
                QStringLiteral("  where  "),
                QStringLiteral("      A.YEAR=") + year,
                QStringLiteral("  and A.SEMESTER=") + semester,
                QStringLiteral("  and A.status !=1"),
                QStringLiteral("  AND B.TCHER_NO=") + SqlNumber(teacher),
                QStringLiteral("  and classno =") + SqlInteger(ValueFromIndex(i)),
                QStringLiteral("  AND weekday  =") + SqlInteger(Names(i)),
                QStringLiteral("  AND room_id_no  <>") + SqlNumber(FRoomIdNo)};
            if (excluded != 0) sql.append(QStringLiteral("  AND RSUBJ_SERNO <>") + SqlNumber(excluded));
            ForEachRow(&context.Query(), sql.join(QLatin1Char('\n')), [&](TQueryDataSet& q) {
                if (teacher == -1) return; // a teacher still to be hired collides with nobody
                message += q.fieldByName(QStringLiteral("SUBJECT_ID")).asString() +
                           q.fieldByName(QStringLiteral("S_NAME")).asString() + QStringLiteral("星期") +
                           q.fieldByName(QStringLiteral("weekday")).asString() + QStringLiteral("第") +
                           q.fieldByName(QStringLiteral("classno")).asString() + QStringLiteral("節衝堂") +
                           QLatin1Char('\r');
            });
        }
    }
    if (message.isEmpty()) return true;
    return MsgBox(message + QLatin1Char('\r') + QStringLiteral("此科老師上課時段衝堂是否儲存?"),
                  QStringLiteral("訊息"), {TMsgButton::Yes, TMsgButton::No},
                  TMsgIcon::Question) == TMsgButton::Yes;
}

bool TCLASSROOMList::HasRentalConflict(TBookingContext& context) const {
    if (FRoomIdNo == -1) return false;
    const QString yearSeme = YearSemeCondition(context);

    QString startText;
    ForEachRow(&context.Query(),
               QStringLiteral("SELECT       SDATE    FROM [GADEP].[dbo].[RMR_YEARSEME]   where  ") + yearSeme,
               [&](TQueryDataSet& q) {
                   if (startText.isEmpty()) startText = q.fieldByName(QStringLiteral("SDATE")).asString();
               });
    const QDate start = ReadDate(startText);
    // A semester missing from the calendar ends the save before any rental is read.
    if (!start.isValid()) throw TAppError(QStringLiteral("'%1' is not a valid date").arg(startText));
    const bool beforeStart = CurrentDateTime() <= start.startOfDay();

    bool found = false;
    bool oneDate = true;
    QString previousDate;
    QString message;
    QStringList& conflicts = context.RentalConflicts();
    for (int i = 0; i < Count(); ++i) {
        // The server counts Sunday as day 1, so the query's weekday of a Sunday is 0.
        QString weekday = SqlInteger(Names(i));
        if (weekday == QStringLiteral("7")) weekday = QStringLiteral("0");
        const QString period = SqlInteger(ValueFromIndex(i));
        QStringList sql{
            QStringLiteral(
                "SELECT A.rent_no,A.room_id_no, B.rent_time-5 as room,  C.room_name, case DatePart(weekday "
                ", B.rent_date)-1  when 0 then 7  else  DatePart(weekday , B.rent_date)-1 end as 星期 "
                ",B.rent_date from GADEP..RMR_Rent_master AS A  inner join        GADEP..RMR_Rent_list AS "
                "B ON A.rent_no=B.rent_no   inner join          GADEP..RMR_Room_master as C on "
                "A.room_id_no=C.room_id_no where A.room_id_no=") +
            SqlNumber(FRoomIdNo) + QStringLiteral("      and B.rent_time-5=") + period +
            // A rental without a remark is still a rental: `rem <> ...` alone would pass it by.
            QStringLiteral("      and isnull(A.rem,'') <>'課表轉檔' and isnull(A.rent_status,'')<>'取消' ") +
            QStringLiteral("      and ( DatePart(weekday , B.rent_date)-1) =") + weekday +
            QStringLiteral("      and B.rent_date BETWEEN ")};
        if (beforeStart) {
            sql << QStringLiteral("  (SELECT  ") << QStringLiteral("       SDATE  ")
                << QStringLiteral("  FROM [GADEP].[dbo].[RMR_YEARSEME]   ")
                << QStringLiteral("  where  ") + yearSeme + QStringLiteral(") ");
        } else {
            sql << QStringLiteral("( convert(varchar(10),getdate(),111 ) )");
        }
        sql << QStringLiteral(" AND (   SELECT       EDATE    FROM [GADEP].[dbo].[RMR_YEARSEME]   where  ") +
                   yearSeme + QStringLiteral(" )   ") + QStringLiteral(" order by rent_DATE");
        ForEachRow(&context.Query(), sql.join(QLatin1Char('\n')), [&](TQueryDataSet& q) {
            found = true;
            const QString dateText =
                RentDateText(ReadDate(q.fieldByName(QStringLiteral("rent_date")).asString()));
            const int room = q.fieldByName(QStringLiteral("room")).asInteger();
            message += QStringLiteral("教室") + q.fieldByName(QStringLiteral("room_name")).asString() +
                       QStringLiteral("講堂借用衝堂借用日期") + dateText + QStringLiteral("第") +
                       QString::number(room) + QStringLiteral("節") + QLatin1Char('\n') + QLatin1Char('\r');
            conflicts.append(RentalConflictLine(dateText, room + kRentTimeOffset,
                                                q.fieldByName(QStringLiteral("room_id_no")).asString()));
            if (!previousDate.isEmpty() && previousDate != dateText) oneDate = false;
            previousDate = dateText;
        });
    }
    if (!found) return false;
    if (context.IsCurriculumOffice() && oneDate)
        return AskBox(QStringLiteral("YES|NO"), message, QStringLiteral("教室借用衝堂是否儲存?")) ==
               QStringLiteral("NO");
    ShowMessage(message);
    return true;
}

} // namespace dudodu
