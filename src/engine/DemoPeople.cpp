// Teachers and their accounts, rooms, the demo login accounts and the code tables.
#include "engine/Accounts.h"
#include "engine/DemoModel.h"

#include <sqlite3.h>

namespace dudodu::engine::demo {
namespace {

struct BuildingSpec {
    const char* college; // college code whose building it is; nullptr for shared buildings
    const char *name, *prefix;
    int location, kind;
    double weight; // share of the rooms; 0 = fixed count below
    int fixedRooms;
};

const BuildingSpec kBuildings[] = {
    {nullptr, "綜合教學館", "綜", 1, 0, 3.0, 0},  {nullptr, "第二教學大樓", "二教", 2, 0, 3.0, 0},
    {"EC__", "電資大樓", "電", 2, 0, 2.0, 0},     {"ED__", "教育館", "教", 1, 0, 2.0, 0},
    {"SC__", "理學大樓", "理", 1, 0, 2.0, 0},     {"EN__", "工程館", "工", 2, 0, 2.0, 0},
    {"MG__", "管理學院大樓", "管", 1, 0, 2.0, 0}, {"SS__", "社會科學館", "社", 1, 0, 2.0, 0},
    {"LA__", "文學館", "文", 1, 0, 2.0, 0},       {"AR__", "藝術館", "藝", 2, 0, 2.0, 0},
    {"LS__", "生命科學館", "生", 2, 0, 2.0, 0},   {"OC__", "海洋館", "海", 2, 0, 2.0, 0},
    {nullptr, "體育館", "體育館", 1, 2, 0, 4},    {nullptr, "運動中心", "運動中心", 2, 2, 0, 3},
};

// Places without a room of their own (location 3); their building is the one called "其他".
const char* const kOtherPlaces[] = {"校外教學場地", "線上教學", "實習機構", "附設實驗農場"};

const int kClassroomSizes[] = {40, 50, 60, 60, 70, 80, 80, 100, 120, 150, 200};
const int kLabSizes[] = {30, 40, 40, 50};

} // namespace

void buildPeople(Demo& demo) {
    // Teachers, in proportion to the units' teaching; centres and programmes keep a few.
    std::vector<double> share(demo.units.size(), 0);
    double total = 0;
    for (size_t i = 0; i < demo.units.size(); ++i) {
        const Unit& u = demo.units[i];
        if (u.kind == UnitKind::College || u.kind == UnitKind::TeacherEdCentre) continue;
        share[i] = std::max(u.weight, 0.3);
        total += share[i];
    }
    const int teacherCount = demo.scaled(900, 40);
    int number = 10001;
    for (size_t i = 0; i < demo.units.size(); ++i) {
        if (share[i] <= 0) continue;
        const int count =
            std::max(demo.units[i].offers() ? 3 : 1, int(teacherCount * share[i] / total + 0.5));
        for (int k = 0; k < count; ++k) {
            Teacher t;
            t.number = number++;
            t.name = personName(demo.rng, &t.englishName);
            t.unit = int(i);
            t.active = !demo.rng.chance(0.03);
            demo.units[i].teachers.push_back(int(demo.teachers.size()));
            demo.teachers.push_back(t);
        }
    }

    // Rooms: shared teaching buildings, a building per college, sports halls and other places.
    const int roomCount = demo.scaled(350, 30);
    double weightSum = 0;
    for (const BuildingSpec& b : kBuildings)
        if (!b.college || demo.unitIndex(QLatin1String(b.college)) >= 0) weightSum += b.weight;
    int id = 101;
    for (const BuildingSpec& b : kBuildings) {
        if (b.college && demo.unitIndex(QLatin1String(b.college)) < 0) continue;
        const int count =
            b.weight > 0 ? std::max(4, int(roomCount * b.weight / weightSum + 0.5)) : b.fixedRooms;
        for (int k = 0; k < count; ++k) {
            Room r;
            r.id = id++;
            r.building = QString::fromUtf8(b.name);
            r.location = b.location;
            if (b.kind == 2) {
                r.kind = 2;
                r.name = QStringLiteral("%1%2場").arg(QString::fromUtf8(b.prefix)).arg(QChar(u'A' + k));
            } else {
                const int floor = 1 + k / 8, seat = 1 + k % 8;
                r.kind = (b.college && k % 4 == 3) ? 1 : 0;
                r.name = QStringLiteral("%1%2%3%4")
                             .arg(QString::fromUtf8(b.prefix), r.kind == 1 ? QStringLiteral("實") : QString())
                             .arg(floor)
                             .arg(seat, 2, 10, QLatin1Char('0'));
                r.capacity = r.kind == 1 ? kLabSizes[demo.rng.below(int(std::size(kLabSizes)))]
                                         : kClassroomSizes[demo.rng.below(int(std::size(kClassroomSizes)))];
                if (demo.rng.chance(0.02)) r.capacity = 0;
            }
            demo.rooms.push_back(r);
        }
    }
    for (const char* place : kOtherPlaces) {
        Room r;
        r.id = id++;
        r.name = QString::fromUtf8(place);
        r.building = QStringLiteral("其他");
        r.location = 3;
        r.kind = 3;
        demo.rooms.push_back(r);
    }
}

void writePeople(Demo& demo) {
    Inserter teacher(
        demo.db, "INSERT INTO VELM_DBASE.dn_tcher_mnger (tcher_no, tcher_cname, tcher_ename, tcher_dep_id) "
                 "VALUES (?,?,?,?)");
    Inserter user(demo.db,
                  "INSERT INTO VELMCC_DB.user_data (u_id, u_name, ident, p_status) VALUES (?,?,?,?)");
    for (const Teacher& t : demo.teachers) {
        teacher.row({t.number, t.name, t.englishName, demo.units[size_t(t.unit)].code});
        user.row({QStringLiteral("t%1").arg(t.number), t.name, t.number, t.active ? "1" : "0"});
    }
    Inserter room(demo.db,
                  "INSERT INTO GADEP.RMR_Room_master (room_id_no, room_name, bld_name, location, people_num) "
                  "VALUES (?,?,?,?,?)");
    for (const Room& r : demo.rooms)
        room.row({r.id, r.name, r.building, r.location, r.capacity > 0 ? Val(r.capacity) : Val(nullptr)});
}

void writeAccounts(Demo& demo) {
    struct Staff {
        const char *account, *name, *role;
        int ident;
    };
    // "cssnogrant" has the system-user role but no granted department, so the client refuses it.
    const Staff staff[] = {{"office", "課務組承辦人", "課務組", 90001},
                           {"programmer", "系統程式設計員", "程式設計員", 90002},
                           {"cssuser", "課務系統使用人員", "課務系統使用人員", 90003},
                           {"cssnogrant", "未授權系統使用人員", "課務系統使用人員", 90005}};
    Inserter user(demo.db,
                  "INSERT INTO VELMCC_DB.user_data (u_id, u_name, ident, p_status) VALUES (?,?,?,'1')");
    Inserter role(demo.db, "INSERT INTO VELMCC_DB.user_role (ident, role_name, role_order) VALUES (?,?,?)");
    QStringList accounts;
    for (const Staff& s : staff) {
        user.row({s.account, s.name, s.ident});
        role.row({s.ident, s.role, 1});
        accounts << QString::fromLatin1(s.account);
    }
    // A second role after the main one: only the first row decides.
    role.row({90001, "教師", 2});

    // Granted departments of the curriculum-system user: the largest department, an institute,
    // a general-education unit and a teacher-education programme, with the centre "TC__" the
    // client skips.
    Inserter grant(demo.db, "INSERT INTO VELMCC_DB.user_role_depyear (ident, year, dep_code) VALUES (?,?,?)");
    const QStringList granted = {QStringLiteral("CS__"), QStringLiteral("CM__"), QStringLiteral("GC__"),
                                 QStringLiteral("TH__"), QStringLiteral("TC__")};
    for (int year : kRuleYears)
        for (const QString& code : granted)
            if (demo.unitIndex(code) >= 0) grant.row({90003, year, code});

    // An account with a user row but neither a role nor a department of its name: refused.
    user.row({"norole", "無角色帳號", 90004});
    accounts << QStringLiteral("norole");

    // Department accounts: the account name is the department code. "CM__" is an institute (level
    // 21), outside the department accounts' list, so the client refuses it without a message.
    accounts << QStringLiteral("CS__") << QStringLiteral("GC__") << QStringLiteral("TH__")
             << QStringLiteral("CM__");
    for (const QString& account : accounts) {
        QString error;
        if (!accounts::setPassword(demo.db, account, demoPassword(), &error))
            throw DemoError(error.toStdString());
    }
}

void writeCodeTables(Demo& demo) {
    Inserter config(demo.db, "INSERT INTO VELM_DBASE.SUBJSELE_CONFIG (ITEM_NAME, ITEM_VALUE) VALUES (?,?)");
    config.row({"課程表程式版本", "4.197"});
    config.row({"課程設計學年", QString::number(kDesignYear)});
    config.row({"課程設計學期", QString::number(kDesignSemester)});
    config.row({"課程設計資料修改設定", "讀寫"});

    Inserter salary(demo.db, "INSERT INTO VELM_DBASE.SEMESALARYGROUP (salary_id, descrip) VALUES (?,?)");
    const char* const salaries[] = {"一般正課",     "體育運動課",   "實驗實習課",
                                    "指導論文課",   "音樂系主修課", "音樂系副修課",
                                    "音樂系實作課", "演講討論課",   "必選修校核心課程"};
    for (int i = 0; i < int(std::size(salaries)); ++i)
        salary.row({i + 1, salaries[i]});

    Inserter eval(demo.db, "INSERT INTO VELM_DBASE.SEMEEVALGROUP (eval_id, descrip) VALUES (?,?)");
    eval.row({0, "尚未指定"});
    eval.row({1, "一般課程"});
    eval.row({2, "體育課程"});
    eval.row({3, "實驗課程"});
    eval.row({99, "校際選課"});

    const char* const items[] = {"跨領域課程",   "產學合作課程",  "創新創業課程", "國際化課程",
                                 "在地實踐課程", "數位學習課程",  "社會責任課程", "職涯發展課程",
                                 "永續發展課程", "全英語授課課程"};
    Inserter item(demo.db,
                  "INSERT INTO VELM_DBASE.SEMECDIOITEM (SYSNO, CDIOITEM, cdio_status) VALUES (?,?,1)");
    for (int i = 0; i < int(std::size(items)); ++i) {
        item.row({i + 1, items[i]});
        demo.featuredItems.push_back(QString::fromUtf8(items[i]));
    }
    const char* const goals[] = {"消除貧窮",           "終結飢餓",     "健康與福祉",   "優質教育",
                                 "性別平權",           "淨水及衛生",   "可負擔能源",   "就業與經濟成長",
                                 "工業、創新基礎建設", "減少不平等",   "永續城鄉",     "責任消費及生產",
                                 "氣候行動",           "保育海洋生態", "保育陸域生態", "和平正義及健全制度",
                                 "多元夥伴關係"};
    Inserter sub(demo.db,
                 "INSERT INTO VELM_DBASE.SEMECDIOSUBITEM (sysno, cdiosysno, cdiosubitem) VALUES (?,9,?)");
    for (int i = 0; i < int(std::size(goals)); ++i) {
        const QString text = QStringLiteral("SDG%1 %2").arg(i + 1).arg(QString::fromUtf8(goals[i]));
        sub.row({i + 1, text});
        demo.featuredSubItems.push_back(text);
    }
}

} // namespace dudodu::engine::demo
