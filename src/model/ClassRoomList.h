// The weekly slot model and one room of an offering with the slots in which the offering uses it.
//
// A weekly slot is a weekday (1 = Monday .. 7 = Sunday) and a class period (1 .. 16). Special
// schedules use weekday -1 summer class, -2 winter class, -3 arranged with the teacher, -4
// inter-school course, with period -1. Room id -1 is no room of the room master. Rentals of the
// facilities database count periods from 6 (rent time = period + 5).
#pragma once

#include "model/StringList.h"

#include <QDate>

class QListWidget;

namespace dudodu {

class TQueryDataSet;

// Offset between a class period and the rent time of the facilities database.
constexpr int kRentTimeOffset = 5;

// Where the booking checks read the state of the save: the main window implements it, tests script
// it. Texts are those of the controls named.
class TBookingContext {
  public:
    virtual ~TBookingContext() = default;
    virtual QString YearText() const = 0;         // edSYEAR
    virtual QString SemesterText() const = 0;     // edSEME
    virtual QString LimitText() const = 0;        // edLIMIT
    virtual QStringList TeacherLines() const = 0; // lbTeacher: teacher number "=" name
    virtual bool IsCurriculumOffice() const = 0;  // FIsCurriculumOffice
    // FRsubjSerno of the offering open in the editor; 0 while it has not been saved.
    virtual int CurrentSerial() const = 0;
    // ListBox1: rentals colliding with the offering being saved (see RentalConflictLine).
    virtual QStringList& RentalConflicts() = 0;
    virtual TQueryDataSet& Query() = 0; // the data module's query1
};

// The one text form of a rent date shared by the rental check, its conflict list and the booking
// writers: yyyy/MM/dd, the form convert(varchar(10), d, 111) gives and the engine accepts.
QString RentDateText(const QDate& date);
// Reads a date as the gateway returns it (or any form RentDateText/the engine writes); an invalid
// date when the text is none of them.
QDate ReadDate(const QString& text);
// One line of the rental-conflict list: date text ":L" rent time ":R" room id.
QString RentalConflictLine(const QString& rentDate, int rentTime, const QString& roomId);

// True when no line of the rental-conflict list names this date, rent time and room.
bool IsRentalFree(const QStringList& conflicts, const QString& roomId, const QString& rentDate, int rentTime);

class TCLASSROOMList : public TStringList {
  public:
    using TStringList::TStringList;

    QListWidget* GetClassRoomEditor() const { return FEditor; }
    // Binds the list box and shows the room and slot lines in it.
    void SetClassRoomEditor(QListWidget* editor);
    void RefreshEditor();
    // "教室:" room, then the slot texts; empty while the room name is empty.
    QString FormatSlots(const QString& separator) const;
    int SlotCount() const { return Count(); }
    // Location 1, room -1, no name; the slots stay.
    void ResetRoom();
    // Room, location and slots of other; the editor binding and FModified stay.
    void AssignFrom(const TCLASSROOMList& other);

    // --- Checks of the save; nothing is written by them. Gateway errors pass on.
    // True: stop the save (another offering uses the room in a slot and it is no combined class).
    bool HasRoomSharingConflict(int subjectGroup, int year, int semester, TBookingContext& context) const;
    // True: the room holds the enrolment limit.
    bool CheckRoomCapacity(TBookingContext& context) const;
    // True: go on saving (no teacher collision, or the user saves anyway).
    bool CheckTeacherTimes(TBookingContext& context) const;
    // True: stop the save. Fills the context's rental-conflict list.
    bool HasRentalConflict(TBookingContext& context) const;

    QListWidget* FEditor = nullptr; // not owned
    bool FModified = false;         // the picker was opened: the update rewrites the rooms
    int FLocation = 0;              // 1, 2 or 3
    int FRoomIdNo = 0;              // -1: no room of the room master
    QString FRoomName;
};

// The room name followed by every slot line, no separators; empty without slots.
QString SlotSignature(const TCLASSROOMList& list);

} // namespace dudodu
