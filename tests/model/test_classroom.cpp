#include "ModelFixture.h"

#include <QListWidget>
#include <gtest/gtest.h>

namespace dudodu {
namespace {

TCLASSROOMList makeList(const QString& room, const QStringList& items, int roomId = 345, int location = 1) {
    TCLASSROOMList list;
    list.FRoomName = room;
    list.FRoomIdNo = roomId;
    list.FLocation = location;
    list.append(items);
    return list;
}

TEST(ClassRoomListTest, NewListIsEmptyAndUnbound) {
    const TCLASSROOMList list;
    EXPECT_EQ(list.GetClassRoomEditor(), nullptr);
    EXPECT_FALSE(list.FModified);
    EXPECT_EQ(list.FLocation, 0);
    EXPECT_EQ(list.FRoomIdNo, 0);
    EXPECT_TRUE(list.FRoomName.isEmpty());
    EXPECT_EQ(list.SlotCount(), 0);
}

TEST(ClassRoomListTest, FormatSlotsRendersRoomAndSlots) {
    struct Case {
        QString room;
        QStringList items;
        QString text; // with "|" as separator
    };
    const Case cases[] = {
        {"A101", {"3=7", "3=8"}, "教室:A101|星期3第7節|星期3第8節|"},
        {"A101", {"1=1", "6=16", "7=2"}, "教室:A101|星期1第1節|星期6第16節|星期日第2節|"},
        {"其他", {"-3=-1"}, "教室:其他|與教師另行約定"},
        {"其他", {"-1=-1", "-2=-1", "-4=-1"}, "教室:其他|暑假上課寒假上課校際選課"},
        {"A101", {}, "教室:A101|"},
        {"", {"3=7"}, ""}, // no room name: nothing, whatever the slots
    };
    for (const Case& c : cases)
        EXPECT_EQ(makeList(c.room, c.items).FormatSlots(QStringLiteral("|")), c.text) << c.room.toStdString();
}

TEST(ClassRoomListTest, EditorShowsOneLinePerSlotAndFollowsRefresh) {
    TCLASSROOMList list = makeList(QStringLiteral("A101"), {"3=7", "7=2"});
    QListWidget box;
    box.addItem(QStringLiteral("old"));
    list.SetClassRoomEditor(&box);
    EXPECT_EQ(list.GetClassRoomEditor(), &box);
    EXPECT_EQ(test::ListBoxLines(box), (QStringList{"教室:A101", "星期3第7節", "星期日第2節"}));

    // A special schedule ends without a line break, and no empty line is shown.
    list.clear();
    list.append(QStringLiteral("-3=-1"));
    list.FRoomName = QStringLiteral("其他");
    list.RefreshEditor();
    EXPECT_EQ(test::ListBoxLines(box), (QStringList{"教室:其他", "與教師另行約定"}));

    list.FRoomName.clear();
    list.RefreshEditor();
    EXPECT_EQ(box.count(), 0);

    TCLASSROOMList unbound = makeList(QStringLiteral("B1"), {"1=1"});
    unbound.RefreshEditor(); // no list box: nothing happens
    EXPECT_EQ(box.count(), 0);
}

TEST(ClassRoomListTest, ResetAndAssignKeepTheirOwnParts) {
    QListWidget box;
    TCLASSROOMList target = makeList(QStringLiteral("A101"), {"1=1"}, 10, 2);
    target.SetClassRoomEditor(&box);
    target.FModified = true;

    const TCLASSROOMList source = makeList(QStringLiteral("B202"), {"2=3", "2=4"}, 20, 3);
    target.AssignFrom(source);
    EXPECT_EQ(target.FRoomName, QStringLiteral("B202"));
    EXPECT_EQ(target.FRoomIdNo, 20);
    EXPECT_EQ(target.FLocation, 3);
    EXPECT_EQ(target, (QStringList{"2=3", "2=4"}));
    EXPECT_EQ(target.GetClassRoomEditor(), &box);
    EXPECT_TRUE(target.FModified);

    target.ResetRoom();
    EXPECT_EQ(target.FLocation, 1);
    EXPECT_EQ(target.FRoomIdNo, -1);
    EXPECT_TRUE(target.FRoomName.isEmpty());
    EXPECT_EQ(target.SlotCount(), 2); // the slots are the caller's to clear
}

TEST(ClassRoomListTest, SlotSignatureRunsRoomAndItemsTogether) {
    EXPECT_EQ(SlotSignature(makeList(QStringLiteral("A101"), {"3=7", "3=8"})), QStringLiteral("A1013=73=8"));
    EXPECT_EQ(SlotSignature(makeList(QStringLiteral("A101"), {})), QString());
}

TEST(RentalConflictListTest, IsRentalFreeMatchesDateTimeAndRoomExactly) {
    const QString date = RentDateText(QDate(2024, 9, 18));
    EXPECT_EQ(date, QStringLiteral("2024/09/18"));
    const QStringList conflicts{
        RentalConflictLine(date, 12, QStringLiteral("345")),
        RentalConflictLine(QStringLiteral("2024/09/25"), 6, QStringLiteral("1234567890"))};
    EXPECT_EQ(conflicts.first(), QStringLiteral("2024/09/18:L12:R345"));
    struct Case {
        QString room;
        QString date;
        int time;
        bool free;
    };
    const Case cases[] = {
        {"345", "2024/09/18", 12, false}, {"345", "2024/09/18", 13, true}, // another period
        {"346", "2024/09/18", 12, true},                                   // another room
        {"34", "2024/09/18", 12, true},                                    // no prefix match
        {"345", "2024-09-18", 12, true}, // the date must be in the shared form
        {"345", "2024/09/25", 12, true},  {"1234567890", "2024/09/25", 6, false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(IsRentalFree(conflicts, c.room, c.date, c.time), c.free)
            << c.room.toStdString() << " " << c.date.toStdString() << " " << c.time;
    EXPECT_TRUE(IsRentalFree({}, QStringLiteral("345"), date, 12));
}

TEST(RentalConflictListTest, ReadDateAcceptsTheEngineAndTheSharedForms) {
    EXPECT_EQ(ReadDate(QStringLiteral("2024-09-18 00:00:00.000")), QDate(2024, 9, 18));
    EXPECT_EQ(ReadDate(QStringLiteral("2024/09/18")), QDate(2024, 9, 18));
    EXPECT_FALSE(ReadDate(QString()).isValid());
    EXPECT_FALSE(ReadDate(QStringLiteral("18.09.2024")).isValid());
}

} // namespace
} // namespace dudodu
