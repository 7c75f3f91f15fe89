// The demo university as the generator builds it in memory before writing it: units, the
// department-year tree, teachers, rooms, the subject catalogue and the offerings of each semester.
// Internal to the engine.
#pragma once

#include "engine/DemoData.h"
#include "engine/DemoSupport.h"

#include <QDate>
#include <QString>
#include <QStringList>
#include <map>
#include <vector>

namespace dudodu::engine::demo {

constexpr int kDesignYear = 115;
constexpr int kDesignSemester = 2;
constexpr int kRuleYears[] = {114, 115};
constexpr int kLegacyRuleYear = 101; // old-style rules still followed by some units
const QString& universityName();
const QString& demoPassword();

enum class UnitKind {
    College,
    Department,
    Institute,
    Programme,
    Centre,
    GeneralEd,
    TeacherEdCentre,
    TeacherEd
};

// A class of a unit in one year: a node of kind B, M or P under the unit's node.
struct ClassNode {
    QString code;       // depyr_code
    char dtype;         // 'B', 'M', 'P'
    QString s1class;    // "01", "WS" (in-service master) or "TA" (evening bachelor)
    QString name;       // dep_name of the node
    QStringList groups; // depyr_codes of its study groups (kind G)
};

struct Unit {
    QString code; // CLASS_ID
    QString name, shortName;
    UnitKind kind = UnitKind::Department;
    int level = 20;
    int location = 1;
    int depSer = 0;
    int parentSer = 0; // DEP_SER of the college, 0 for units directly under the university
    int college = -1;  // index of the college unit
    int topics = 0;    // subject pool
    double weight = 1; // share of the offerings
    bool bachelor = false, master = false, doctoral = false, inService = false, evening = false;
    char groupsUnder = 0; // the class whose study groups ('G' nodes) hang under it
    bool oldRules = false;
    std::vector<int> teachers;
    std::map<int, QString> node;                   // year -> depyr_code of the unit's own node
    std::map<int, std::vector<ClassNode>> classes; // year -> its classes
    bool offers() const { return level == 10 || level == 11 || level == 20 || level == 21; }
    const ClassNode* classOf(int year, char dtype, const QString& s1class) const;
};

struct Teacher {
    int number = 0;
    QString name, englishName;
    int unit = 0;
    bool active = true;
};

struct Room {
    int id = 0;
    QString name, building;
    int location = 1;
    int capacity = 0; // 0 = not recorded (NULL)
    int kind = 0;     // 0 classroom, 1 laboratory, 2 sports hall, 3 other place
};

// One subject of a unit's catalogue (the same subject in every year).
struct Subject {
    int unit = 0;
    qint64 sysno = -1; // rule_subject key; -1 for old-style rules
    QString base;      // first 8 characters of the code
    QString name, englishName;
    double credit = 3, hours = 3;
    int lab = 0;
    QString must;     // "必" or "選"
    char cls = 'B';   // 'B', 'M', 'P', 'W' (in-service master), 'E' (evening bachelor)
    int grade = 1;    // bachelor year 1..4
    int semester = 1; // 0 = every semester
    int partner = -1; // for the second half of a year-long subject: the first half
    int special = 0;  // 0, or the special schedule weekday -1 .. -4
    int salary = 1, eval = 1;
    int roomKind = 0;
    int spheres[2] = {0, 0};        // general-education spheres
    QString epType, sui;            // teacher-training category; "SU" / "SUI" grading
    int sections = 1;               // > 1: offered as expanded sections AA, AB, ...
    std::vector<int> prerequisites; // catalogue indices
    QString code() const { return base + QLatin1Char('A'); }
};

struct RoomUse {
    int room = -1; // room id, -1 for none of the room master
    QString name;
    int location = 1;
    std::vector<std::pair<int, int>> times; // weekday, period in list order
};

struct Offering {
    qint64 serial = 0, group = 0;
    int year = 0, semester = 0;
    int unit = 0, subject = -1;
    QString depyrCode, subjectId, subjectIdSec, name, englishName, must, workPlace, subjMode;
    int limit = 999;
    double credit = 0, hours = 0;
    int lab = 0;
    QString belong, belongDepyr, note, epField, preDepyr, fromDep, crsDepyr, termId, term, subjKind;
    int semeEng = 2, isEval = 1, status = 2, isExpand = 2, fromYear = 0, salary = 1, eval = 1;
    qint64 subjectSysno = -1, programId = -1;
    QString ruleRel = QStringLiteral("0");
    QString crDate, crUser, mdDate, mdUser, flagS, flagU, flagI;
    std::vector<std::pair<int, QString>> teachers; // number, name
    std::vector<RoomUse> rooms;
    std::vector<std::pair<QString, QString>> fields; // general-education code, name
    QStringList oldPrerequisites, featured, featuredSub;
    bool member = false; // joined into another offering's group: no child rows of its own
};

struct Semester {
    int year = 0, semester = 0;
    QDate start, end;
    std::vector<Offering> offerings;
    int key() const { return year * 10 + semester; }
};

// Everything the generator writes, and the shared state of its steps.
struct Demo {
    sqlite3* db = nullptr;
    DemoOptions options;
    Rng rng;
    std::vector<Unit> units;
    std::vector<Teacher> teachers;
    std::vector<Room> rooms;
    std::vector<Subject> subjects;
    std::vector<Semester> semesters;
    std::map<std::pair<int, qint64>, std::pair<qint64, qint64>>
        ruleLinks; // (year, sysno) -> program, relation
    std::vector<QString> featuredItems, featuredSubItems;
    std::vector<std::pair<int, QString>> spheres; // sphere id, name

    Demo(sqlite3* handle, const DemoOptions& opts) : db(handle), options(opts), rng(opts.seed) {}
    int scaled(double count, int minimum) const;
    void progress(double fraction, const QString& text) const;
    int unitIndex(const QString& code) const; // -1 when absent
};

// The steps, in the order the generator runs them.
void buildUnits(Demo& demo);      // DemoUnits.cpp: units and their classes
void writeUnits(Demo& demo);      // SUB_CLASS, the department-year tree
void buildPeople(Demo& demo);     // DemoPeople.cpp: teachers, rooms
void writePeople(Demo& demo);     // dn_tcher_mnger, user_data, rooms
void writeAccounts(Demo& demo);   // roles, grants, passwords
void writeCodeTables(Demo& demo); // configuration, categories, featured items
void buildCatalogue(Demo& demo);  // DemoRules.cpp: subjects of every unit
void writeRules(Demo& demo);      // programme rules, spheres, prerequisites, old-style rules
void buildOfferings(Demo& demo);  // DemoOfferings.cpp: four semesters of offerings
void writeOfferings(Demo& demo);  // DemoWriteOfferings.cpp: offerings and child rows
void writeRentals(Demo& demo);    // DemoRentals.cpp: windows, timetable and other rentals
void writeSelections(Demo& demo); // student course selections

// The class a subject is taught for in a year, and its level text (DemoRules.cpp).
const ClassNode* subjectClass(const Demo& demo, const Subject& s, int year);
QString subjectWorkPlace(const Subject& s, const Unit& u);

// Names of people and subjects (DemoNames.cpp).
QString personName(Rng& rng, QString* englishName);
struct Topic {
    const char* name;
    const char* english;
};
const std::vector<Topic>& topicPool(int pool);
int topicPoolCount();

} // namespace dudodu::engine::demo
