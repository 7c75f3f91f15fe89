#include "ModelFixture.h"

#include "common/ScriptedDialogs.h"
#include "db/Errors.h"
#include "model/Clock.h"

namespace dudodu {
namespace {

class BookingCheckTest : public test::ModelDbTest {
  protected:
    void SetUp() override {
        test::ModelDbTest::SetUp();
        exec(QStringLiteral(
            "insert GADEP..RMR_YEARSEME(YEAR, SEME, SDATE, EDATE) values(113, 1, '2024/09/09', "
            "'2025/01/10')\n"
            "insert GADEP..RMR_Room_master(room_id_no, room_name, bld_name, location, people_num) "
            "values(345, 'A101', '甲館', 1, 40)\n"
            "insert GADEP..RMR_Room_master(room_id_no, room_name, bld_name, location, people_num) "
            "values(346, 'B202', '乙館', 1, NULL)\n"
            "insert GADEP..RMR_Room_master(room_id_no, room_name, bld_name, location, people_num) "
            "values(347, 'C303', '丙館', 2, 60)"));
        offering(1, 100, "MATH", "M101", "微積分", 2, 113);
        offering(2, 200, "PHYS", "P101", "物理", 2, 113);
        offering(3, 300, "CHEM", "C101", "化學", 1, 113); // cancelled
        offering(4, 400, "BIO_", "B101", "生物", 2, 112); // another year
        offering(6, 600, "CHEM", "C201", "化學實驗", 2, 113);
        offering(7, 700, "CHEM", "C301", "分析化學", 2, 113);
        room(100, 345, 3, 7);
        room(200, 345, 3, 7);
        room(200, 345, 5, 1);
        room(300, 345, 3, 8);
        room(400, 345, 4, 1);
        room(600, 347, 2, 5);
        room(700, 347, 2, 5);
        teacher(100, 1, 1234);
        teacher(200, 1, 1234);
        teacher(600, 1, 1234);
        teacher(700, 1, -1);
    }

    void offering(int serial, int group, const char* dep, const char* id, const char* name, int status,
                  int year) {
        exec(QStringLiteral(
                 "insert VELM_DBASE..SEMESUBJECT(RSUBJ_SERNO, SUBJECT_GROUP, SUBJECT_ID, DEPARTMENT, "
                 "YEAR, SEMESTER, S_NAME, status) values(%1, %2, '%3', '%4', %5, 1, '%6', %7)")
                 .arg(serial)
                 .arg(group)
                 .arg(QString::fromUtf8(id), QString::fromUtf8(dep))
                 .arg(year)
                 .arg(QString::fromUtf8(name))
                 .arg(status));
    }
    void room(int group, int roomId, int weekday, int period) {
        exec(QStringLiteral("insert VELM_DBASE..SEMECLASSROOM(SUBJECT_GROUP, room_id_no, classroom, weekday, "
                            "classno, location) values(%1, %2, 'R', %3, %4, 1)")
                 .arg(group)
                 .arg(roomId)
                 .arg(weekday)
                 .arg(period));
    }
    void teacher(int group, int seq, int number) {
        exec(QStringLiteral("insert VELM_DBASE..SEMETEACHER(SUBJECT_GROUP, seq, TCHER_NO, TCHER_NAME) "
                            "values(%1, %2, %3, 'T')")
                 .arg(group)
                 .arg(seq)
                 .arg(number));
    }
    // A null rem or status is written as NULL.
    void rental(const QString& no, int roomId, const QString& date, int rentTime, const QString& rem = "一般",
                const QString& status = QString()) {
        const auto text = [](const QString& value) {
            return value.isNull() ? QStringLiteral("NULL") : "'" + value + "'";
        };
        exec(QStringLiteral("insert GADEP..RMR_Rent_master(rent_no, room_id_no, rem, rent_status) "
                            "values('%1', %2, %3, %4)")
                 .arg(no)
                 .arg(roomId)
                 .arg(text(rem), text(status.isEmpty() ? QString() : status)));
        exec(QStringLiteral("insert GADEP..RMR_Rent_list(room_id_no, rent_date, rent_time, rent_no) "
                            "values(%1, '%2', %3, '%4')")
                 .arg(roomId)
                 .arg(date)
                 .arg(rentTime)
                 .arg(no));
    }
    // Fixes the workstation's and the server's clock.
    void setNow(const QDateTime& now) {
        clock = std::make_unique<TScopedClock>(now);
        engine->setClock([now] { return now; });
    }

    TCLASSROOMList roomList(int roomId, const QStringList& items) const {
        TCLASSROOMList list;
        list.FRoomIdNo = roomId;
        list.FRoomName = QStringLiteral("A101");
        list.append(items);
        return list;
    }

    TScopedScriptedDialogs dialogs;
    test::TTestBookingContext context{*query};
    std::unique_ptr<TScopedClock> clock;
};

TEST_F(BookingCheckTest, RoomSharingAsksOncePerCollidingSlot) {
    // Another offering of the year in room 345 on Wednesday period 7: a question naming it.
    const TCLASSROOMList list = roomList(345, {"3=7"});
    dialogs->setNextAnswer("NO");
    EXPECT_TRUE(list.HasRoomSharingConflict(100, 113, 1, context));
    ASSERT_EQ(dialogs->shown().size(), 1);
    EXPECT_EQ(dialogs->last().message.text,
              QStringLiteral("上課教室、時間與PHYS系，P101:物理衝堂。請問是否為合班上課?"));
    EXPECT_EQ(dialogs->last().message.caption, QStringLiteral("訊息"));

    dialogs->clear();
    dialogs->setNextAnswer("YES");
    EXPECT_FALSE(list.HasRoomSharingConflict(100, 113, 1, context)); // a combined class
    EXPECT_EQ(dialogs->shown().size(), 1);
}

TEST_F(BookingCheckTest, RoomSharingIgnoresOwnCancelledAndOtherYearOfferings) {
    struct Case {
        int roomId;
        QStringList items;
        int group;
    };
    const Case cases[] = {
        {345, {"3=8"}, 100},       // only a cancelled offering there
        {345, {"4=1"}, 100},       // only an offering of another year
        {345, {"5=1"}, 200},       // the offering's own row
        {-1, {"3=7", "5=1"}, 100}, // no room of the room master: no query at all
    };
    for (const Case& c : cases) {
        connection->batches.clear();
        EXPECT_FALSE(roomList(c.roomId, c.items).HasRoomSharingConflict(c.group, 113, 1, context))
            << c.roomId;
        if (c.roomId == -1) {
            EXPECT_TRUE(connection->batches.isEmpty());
        }
    }
    EXPECT_TRUE(dialogs->shown().isEmpty());
}

TEST_F(BookingCheckTest, RoomSharingYesThenNoStopsTheSave) {
    room(600, 345, 3, 7); // a second colliding offering in the first slot: still one question
    dialogs->setNextAnswer("YES");
    dialogs->setNextAnswer("NO");
    EXPECT_TRUE(roomList(345, {"3=7", "5=1"}).HasRoomSharingConflict(100, 113, 1, context));
    EXPECT_EQ(dialogs->shown().size(), 2);
    EXPECT_EQ(dialogs->pendingAnswers(), 0);
}

TEST_F(BookingCheckTest, RoomCapacityAgainstTheEnrolmentLimit) {
    struct Case {
        int roomId;
        QString limit;
        bool sufficient;
        bool message;
    };
    const Case cases[] = {
        {345, "50", false, true},  {345, "40", true, false}, {345, "999", true, false},
        {346, "500", true, false}, {-1, "500", true, false}, {347, "50", true, false},
    };
    for (const Case& c : cases) {
        dialogs->clear();
        context.limit = c.limit;
        EXPECT_EQ(roomList(c.roomId, {"3=7"}).CheckRoomCapacity(context), c.sufficient)
            << c.roomId << " " << c.limit.toStdString();
        ASSERT_EQ(dialogs->shown().size(), c.message ? 1 : 0);
        if (c.message) {
            EXPECT_EQ(dialogs->last().message.text,
                      QStringLiteral("無法儲存限修人數超過教室容量僅可容納40人"));
        }
    }
}

TEST_F(BookingCheckTest, TeacherTimesReportOtherRoomsOnly) {
    struct Case {
        QStringList teachers;
        int serial;
        QStringList items;
        bool asked;
    };
    const Case cases[] = {
        {{"1234=王大明"}, 0, {"2=5"}, true},  // the same teacher in room 347 at that time
        {{"1234=王大明"}, 6, {"2=5"}, false}, // ...which is the offering being edited
        {{"-1=待聘"}, 0, {"2=5"}, false},     // a teacher still to be hired
        {{"1234=王大明"}, 0, {"3=7"}, false}, // the same room: a combined class
        {{"1234=王大明"}, 0, {"1=1"}, false}, // nobody teaches then
        {{"abc'=x"}, 0, {"2=5"}, false},      // not a teacher number: never reaches the SQL
    };
    for (const Case& c : cases) {
        dialogs->clear();
        context.teachers = c.teachers;
        context.serial = c.serial;
        dialogs->setNextAnswer("YES");
        EXPECT_TRUE(roomList(345, c.items).CheckTeacherTimes(context)) << c.teachers.join(',').toStdString();
        EXPECT_EQ(dialogs->shown().size(), c.asked ? 1 : 0) << c.teachers.join(',').toStdString() << c.serial;
        if (!c.asked) dialogs->clear();
    }

    dialogs->clear();
    context.teachers = {"1234=王大明"};
    context.serial = 0;
    dialogs->setNextAnswer("NO");
    EXPECT_FALSE(roomList(345, {"2=5"}).CheckTeacherTimes(context));
    EXPECT_EQ(dialogs->last().message.text,
              QStringLiteral("C201化學實驗星期2第5節衝堂\r\r此科老師上課時段衝堂是否儲存?"));
    EXPECT_EQ(dialogs->last().message.caption, QStringLiteral("訊息"));
}

class RentalCheckTest : public BookingCheckTest {
  protected:
    void SetUp() override {
        BookingCheckTest::SetUp();
        setNow(QDateTime(QDate(2024, 9, 1), QTime(10, 0)));
        rental("R1", 345, "2024/09/18", 12);                 // Wednesday period 7
        rental("R5", 345, "2024/10/16", 12);                 // Wednesday period 7, a second date
        rental("R2", 345, "2024/09/25", 12, "一般", "取消"); // cancelled
        rental("R3", 345, "2024/10/02", 12, "課表轉檔");     // written by the timetable itself
        rental("R6", 345, "2024/09/18", 13);                 // Wednesday period 8
        rental("R4", 345, "2024/09/22", 7);                  // Sunday period 2
        rental("R7", 345, "2024/09/11", 14);                 // Wednesday period 9, early in the semester
        rental("R8", 345, "2025/01/15", 14);                 // after the semester
        rental("R9", 347, "2024/09/18", 12);                 // another room
        rental("R10", 345, "2024/10/23", 12, QString());     // no remark at all: still a rental
    }
};

TEST_F(RentalCheckTest, ListsEveryCollisionAndOnlyShowsThemToOrdinaryUsers) {
    EXPECT_TRUE(roomList(345, {"3=7", "3=8"}).HasRentalConflict(context));
    EXPECT_EQ(context.conflicts, (QStringList{"2024/09/18:L12:R345", "2024/10/16:L12:R345",
                                              "2024/10/23:L12:R345", "2024/09/18:L13:R345"}));
    ASSERT_EQ(dialogs->shown().size(), 1);
    EXPECT_EQ(dialogs->last().message.buttons, QList<TMsgButton>{TMsgButton::Ok});
    EXPECT_EQ(dialogs->last().message.text,
              QStringLiteral("教室A101講堂借用衝堂借用日期2024/09/18第7節\n\r"
                             "教室A101講堂借用衝堂借用日期2024/10/16第7節\n\r"
                             "教室A101講堂借用衝堂借用日期2024/10/23第7節\n\r"
                             "教室A101講堂借用衝堂借用日期2024/09/18第8節\n\r"));
}

TEST_F(RentalCheckTest, CurriculumOfficeMaySaveOverCollisionsOnOneDate) {
    context.curriculumOffice = true;
    const TCLASSROOMList list = roomList(345, {"3=8"});
    dialogs->setNextAnswer("YES");
    EXPECT_FALSE(list.HasRentalConflict(context));
    ASSERT_EQ(dialogs->shown().size(), 1);
    EXPECT_EQ(dialogs->last().message.caption, QStringLiteral("教室借用衝堂是否儲存?"));
    // The booking writers then leave out exactly the listed period.
    EXPECT_FALSE(IsRentalFree(context.conflicts, "345", RentDateText(QDate(2024, 9, 18)), 13));
    EXPECT_TRUE(IsRentalFree(context.conflicts, "345", RentDateText(QDate(2024, 9, 18)), 12));
    EXPECT_TRUE(IsRentalFree(context.conflicts, "345", RentDateText(QDate(2024, 9, 25)), 13));

    dialogs->setNextAnswer("NO");
    EXPECT_TRUE(list.HasRentalConflict(context));
}

TEST_F(RentalCheckTest, CurriculumOfficeCannotSaveOverCollisionsOnSeveralDates) {
    context.curriculumOffice = true;
    for (const QStringList& items : {QStringList{"3=7"}, QStringList{"3=8", "7=2"}}) {
        dialogs->clear();
        context.conflicts.clear();
        EXPECT_TRUE(roomList(345, items).HasRentalConflict(context)) << items.join(',').toStdString();
        ASSERT_EQ(dialogs->shown().size(), 1);
        EXPECT_EQ(dialogs->last().message.buttons, QList<TMsgButton>{TMsgButton::Ok}); // no question
    }
    // The Sunday rental is found with the server's weekday 0.
    EXPECT_EQ(context.conflicts, (QStringList{"2024/09/18:L13:R345", "2024/09/22:L7:R345"}));
}

TEST_F(RentalCheckTest, CoversTheWholeSemesterBeforeItStartsAndFromTodayAfter) {
    struct Case {
        QDateTime now;
        bool found;
    };
    const Case cases[] = {
        {QDateTime(QDate(2024, 9, 1), QTime(10, 0)), true},
        {QDateTime(QDate(2024, 9, 9), QTime(0, 0)), true},  // the start itself is not later
        {QDateTime(QDate(2024, 9, 11), QTime(8, 0)), true}, // today still counts
        {QDateTime(QDate(2024, 9, 12), QTime(8, 0)), false},
    };
    for (const Case& c : cases) {
        setNow(c.now);
        dialogs->clear();
        context.conflicts.clear();
        EXPECT_EQ(roomList(345, {"3=9"}).HasRentalConflict(context), c.found)
            << c.now.toString().toStdString();
        EXPECT_EQ(context.conflicts, c.found ? QStringList{"2024/09/11:L14:R345"} : QStringList{});
    }
}

TEST_F(RentalCheckTest, NoCollisionNoRoomOrNoSemester) {
    // Cancelled and timetable rentals are ignored, as are other rooms and periods.
    exec(QStringLiteral("delete GADEP..RMR_Rent_list where rent_no in ('R1', 'R5', 'R10')"));
    EXPECT_FALSE(roomList(345, {"3=7", "1=1"}).HasRentalConflict(context));
    EXPECT_TRUE(dialogs->shown().isEmpty());
    EXPECT_TRUE(context.conflicts.isEmpty());

    connection->batches.clear();
    EXPECT_FALSE(roomList(-1, {"3=8"}).HasRentalConflict(context));
    EXPECT_TRUE(connection->batches.isEmpty());

    context.semester = QStringLiteral("2"); // not in the calendar: the save ends before any rental is read
    connection->batches.clear();
    EXPECT_THROW(roomList(345, {"3=8"}).HasRentalConflict(context), TAppError);
    EXPECT_EQ(connection->batches.size(), 1);
}

} // namespace
} // namespace dudodu
