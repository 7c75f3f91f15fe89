// Units of the demo university (colleges, departments, institutes, centres, the general-education
// and teacher-education units) and the department-year tree of the academic database.
#include "engine/DemoModel.h"

#include <sqlite3.h>

namespace dudodu::engine::demo {
namespace {

struct UnitSpec {
    const char *code, *name, *shortName;
    int level, topics;
    double weight;
    const char* degrees; // B bachelor, M master, P doctoral, W in-service master, E evening bachelor
    char groups;         // class with study groups
};

struct CollegeSpec {
    const char *code, *name, *shortName;
    int location, topics;
    std::vector<UnitSpec> units; // first a department, an institute and a programme or centre, so a
                                 // small university still has units of every level
};

const std::vector<CollegeSpec>& collegeSpecs() {
    static const std::vector<CollegeSpec> specs = {
        {"EC__",
         "電機資訊學院",
         "電資學院",
         2,
         5,
         {{"CS__", "資訊工程學系", "資工系", 20, 5, 2.2, "BMPW", 0},
          {"CM__", "通訊工程研究所", "通訊所", 21, 5, 0.6, "MP", 0},
          {"AI__", "人工智慧學位學程", "AI學程", 22, 5, 0, "BM", 0},
          {"EE__", "電機工程學系", "電機系", 20, 5, 2.0, "BMPW", 0},
          {"OPT_", "光電工程研究所", "光電所", 21, 3, 0.5, "MP", 0},
          {"ICC_", "積體電路設計研究中心", "積體電路中心", 32, 5, 0, "", 0}}},
        {"ED__",
         "教育學院",
         "教育學院",
         1,
         8,
         {{"EDU_", "教育學系", "教育系", 20, 8, 1.2, "BMPW", 'P'},
          {"EDP_", "教育政策研究所", "教政所", 21, 8, 0.5, "MP", 0},
          {"LRC_", "學習科學研究中心", "學習科學中心", 32, 8, 0, "", 0},
          {"SPE_", "特殊教育學系", "特教系", 20, 8, 0.9, "BM", 0},
          {"PE__", "體育學系", "體育系", 20, 8, 0.9, "BM", 0},
          {"ECE_", "幼兒教育學系", "幼教系", 20, 8, 0.7, "B", 0}}},
        {"SC__",
         "理學院",
         "理學院",
         1,
         2,
         {{"MATH", "數學系", "數學系", 20, 2, 1.4, "BMP", 'B'},
          {"STAT", "統計學研究所", "統計所", 21, 2, 0.5, "MP", 0},
          {"SCP_", "理學院學士學位學程", "理學學程", 22, 3, 0, "B", 0},
          {"PHYS", "物理學系", "物理系", 20, 3, 1.3, "BMP", 0},
          {"CHEM", "化學系", "化學系", 20, 3, 1.3, "BMP", 0},
          {"AST_", "天文研究所", "天文所", 21, 3, 0.4, "M", 0}}},
        {"EN__",
         "工學院",
         "工學院",
         2,
         4,
         {{"ME__", "機械工程學系", "機械系", 20, 4, 1.6, "BMPW", 0},
          {"ENV_", "環境工程研究所", "環工所", 21, 4, 0.5, "M", 0},
          {"ENR_", "能源研究中心", "能源中心", 32, 4, 0, "", 0},
          {"CE__", "土木工程學系", "土木系", 20, 4, 1.4, "BMP", 0},
          {"CHE_", "化學工程學系", "化工系", 20, 4, 1.2, "BM", 0},
          {"MSE_", "材料科學與工程學系", "材料系", 20, 4, 1.2, "BMP", 0}}},
        {"MG__",
         "管理學院",
         "管理學院",
         1,
         6,
         {{"BA__", "企業管理學系", "企管系", 20, 6, 1.6, "BMWE", 0},
          {"IB__", "國際企業研究所", "國企所", 21, 6, 0.6, "MP", 0},
          {"EMBA", "高階經理人碩士學位學程", "EMBA", 22, 6, 0, "W", 0},
          {"AC__", "會計學系", "會計系", 20, 6, 1.2, "BM", 0},
          {"FIN_", "財務金融學系", "財金系", 20, 6, 1.2, "BM", 0},
          {"IM__", "資訊管理學系", "資管系", 20, 6, 1.3, "BMPW", 'M'}}},
        {"SS__",
         "社會科學院",
         "社科院",
         1,
         7,
         {{"ECO_", "經濟學系", "經濟系", 20, 7, 1.3, "BMP", 0},
          {"SW__", "社會工作研究所", "社工所", 21, 7, 0.5, "MW", 0},
          {"PPR_", "公共政策研究中心", "公共政策中心", 32, 7, 0, "", 0},
          {"PS__", "政治學系", "政治系", 20, 7, 1.1, "BM", 0},
          {"SOC_", "社會學系", "社會系", 20, 7, 1.0, "BM", 0},
          {"PSY_", "心理學系", "心理系", 20, 7, 1.1, "BMP", 0}}},
        {"LA__",
         "文學院",
         "文學院",
         1,
         0,
         {{"CL__", "中國文學系", "中文系", 20, 0, 1.3, "BMPW", 0},
          {"TWL_", "臺灣文學研究所", "臺文所", 21, 0, 0.4, "M", 0},
          {"DHP_", "數位人文學位學程", "數位人文學程", 22, 1, 0, "B", 0},
          {"FL__", "外國語文學系", "外文系", 20, 0, 1.3, "BM", 0},
          {"HIS_", "歷史學系", "歷史系", 20, 1, 1.1, "BMP", 0},
          {"PHL_", "哲學系", "哲學系", 20, 1, 0.9, "BM", 0}}},
        {"AR__",
         "藝術學院",
         "藝術學院",
         2,
         9,
         {{"MUS_", "音樂學系", "音樂系", 20, 9, 1.1, "BM", 0},
          {"AMI_", "藝術管理研究所", "藝管所", 21, 9, 0.4, "M", 0},
          {"CRT_", "文化創意學位學程", "文創學程", 22, 9, 0, "B", 0},
          {"FA__", "美術學系", "美術系", 20, 9, 1.0, "BM", 0},
          {"DES_", "設計學系", "設計系", 20, 9, 1.0, "BM", 0},
          {"DRA_", "戲劇學系", "戲劇系", 20, 9, 0.8, "B", 0}}},
        {"LS__",
         "生命科學院",
         "生科院",
         2,
         10,
         {{"LSC_", "生命科學系", "生科系", 20, 10, 1.3, "BMP", 0},
          {"MB__", "分子生物學研究所", "分生所", 21, 10, 0.5, "MP", 0},
          {"BIO_", "生物多樣性研究中心", "生物多樣性中心", 32, 10, 0, "", 0},
          {"BT__", "生物科技學系", "生科技系", 20, 10, 1.0, "BM", 0},
          {"NUT_", "營養科學系", "營養系", 20, 10, 0.9, "BM", 0},
          {"ECL_", "生態學研究所", "生態所", 21, 10, 0.4, "M", 0}}},
        {"OC__",
         "海洋學院",
         "海洋學院",
         2,
         11,
         {{"OCS_", "海洋科學系", "海科系", 20, 11, 1.1, "BMP", 0},
          {"MAR_", "海洋事務研究所", "海事所", 21, 11, 0.4, "M", 0},
          {"MRC_", "海洋研究中心", "海洋中心", 32, 11, 0, "", 0},
          {"FSH_", "水產養殖學系", "水產系", 20, 11, 0.9, "BM", 0},
          {"NAV_", "航運管理學系", "航管系", 20, 11, 1.0, "BME", 0},
          {"OEN_", "海洋工程學位學程", "海工學程", 22, 11, 0, "B", 0}}},
    };
    return specs;
}

// Units directly under the university: the five general-education units and the teacher-education
// centre with its programmes.
const UnitSpec kGeneralUnits[] = {
    {"GC__", "通識教育中心", "通識中心", 11, 12, 3.0, "B", 0},
    {"LB__", "博雅教育中心", "博雅中心", 11, 17, 0.5, "B", 0},
    {"LC__", "語言中心", "語言中心", 11, 13, 1.6, "B", 0},
    {"PEC_", "體育室", "體育室", 11, 14, 1.4, "B", 0},
    {"CLC_", "華語文中心", "華語中心", 11, 15, 0.4, "B", 0},
};
const UnitSpec kTeacherEdCentre = {"TC__", "師資培育中心", "師培中心", 11, 16, 0, "", 0};
const UnitSpec kTeacherEdUnits[] = {
    {"TH__", "中等教育學程", "中教學程", 20, 16, 0.5, "B", 0},
    {"TEE_", "國民小學教育學程", "小教學程", 20, 16, 0.4, "B", 0},
    {"TEK_", "幼兒園教育學程", "幼教學程", 20, 16, 0.3, "B", 0},
};

Unit makeUnit(const UnitSpec& spec, UnitKind kind, int location) {
    Unit u;
    u.code = QString::fromLatin1(spec.code);
    u.name = QString::fromUtf8(spec.name);
    u.shortName = QString::fromUtf8(spec.shortName);
    u.kind = kind;
    u.level = spec.level;
    u.location = location;
    u.topics = spec.topics;
    u.weight = spec.weight;
    const QString degrees = QString::fromLatin1(spec.degrees);
    u.bachelor = degrees.contains(QLatin1Char('B'));
    u.master = degrees.contains(QLatin1Char('M'));
    u.doctoral = degrees.contains(QLatin1Char('P'));
    u.inService = degrees.contains(QLatin1Char('W'));
    u.evening = degrees.contains(QLatin1Char('E'));
    u.groupsUnder = spec.groups;
    return u;
}

UnitKind kindOfLevel(int level) {
    switch (level) {
    case 21:
        return UnitKind::Institute;
    case 22:
        return UnitKind::Programme;
    case 32:
        return UnitKind::Centre;
    default:
        return UnitKind::Department;
    }
}

struct Node {
    int id, parent, year;
    QString code, depCode, name, abbrev, dtype;
    int level, dorder, location;
    QString s1class;
};

// Builds one year's tree; class nodes are recorded in the units for the offerings.
class TreeBuilder {
  public:
    TreeBuilder(Demo& demo, std::vector<Node>& nodes, int& nextId)
        : m_demo(demo), m_nodes(nodes), m_nextId(nextId) {}

    void build(int year) {
        const int root = add(0, year, QStringLiteral("UNIV%1U0").arg(year), QStringLiteral("UNIV"),
                             universityName(), QStringLiteral("U"), 1, 1);
        std::map<int, int> unitNode; // unit -> node id
        for (size_t i = 0; i < m_demo.units.size(); ++i) {
            Unit& u = m_demo.units[i];
            int parent = root;
            int level = 2;
            QString dtype = QStringLiteral("D");
            if (u.kind == UnitKind::College) {
                dtype = QStringLiteral("C");
            } else if (u.kind == UnitKind::TeacherEd) {
                parent = unitNode.at(m_demo.unitIndex(QStringLiteral("TC__")));
                level = 4;
            } else if (u.college >= 0) {
                parent = unitNode.at(u.college);
                level = 3;
            } else {
                level = 3;
            }
            if (u.level == 32) continue; // research centres have no students
            const QString code = u.code + QString::number(year) + dtype + QLatin1Char('0');
            const int id = add(parent, year, code, u.code, u.name, dtype, level, u.location);
            unitNode[int(i)] = id;
            u.node[year] = code;
            addClasses(u, year, id, level + 1);
        }
    }

  private:
    int add(int parent, int year, const QString& code, const QString& depCode, const QString& name,
            const QString& dtype, int level, int location, const QString& abbrev = QString(),
            const QString& s1class = QString()) {
        int order = 1;
        for (const Node& n : m_nodes)
            if (n.parent == parent && parent != 0) ++order;
        m_nodes.push_back(
            {m_nextId, parent, year, code, depCode, name, abbrev, dtype, level, order, location, s1class});
        return m_nextId++;
    }

    void addClass(Unit& u, int year, int parent, int level, char dtype, const char* suffix,
                  const QString& name, const QString& s1class) {
        const QString code = u.code + QString::number(year) + QLatin1String(suffix);
        const int id = add(parent, year, code, u.code, name, QString(QLatin1Char(dtype)), level, u.location,
                           QString(), s1class);
        u.classes[year].push_back({code, dtype, s1class, name, {}});
        if (u.groupsUnder != dtype || s1class != QLatin1String("01")) return;
        static const char* const groupNames[][2] = {
            {"一般組", "統計組"}, {"一般組", "國際組"}, {"一般組", "國際組"}};
        const int row = dtype == 'B' ? 0 : dtype == 'M' ? 1 : 2;
        for (int g = 0; g < 2; ++g) {
            const QString groupName = QString::fromUtf8(groupNames[row][g]);
            const QString groupCode = code + QStringLiteral("G%1").arg(g + 1);
            add(id, year, groupCode, u.code, groupName, QStringLiteral("G"), level + 1, u.location,
                name + groupName, QStringLiteral("00"));
            u.classes[year].back().groups << groupCode;
        }
    }

    void addClasses(Unit& u, int year, int id, int level) {
        if (u.bachelor || u.kind == UnitKind::College)
            addClass(u, year, id, level, 'B', "B1", QStringLiteral("學士班"), QStringLiteral("01"));
        if (u.master) addClass(u, year, id, level, 'M', "M1", QStringLiteral("碩士班"), QStringLiteral("01"));
        if (u.doctoral)
            addClass(u, year, id, level, 'P', "P1", QStringLiteral("博士班"), QStringLiteral("01"));
        if (u.inService)
            addClass(u, year, id, level, 'M', "M2", QStringLiteral("碩士在職專班"), QStringLiteral("WS"));
        if (u.evening)
            addClass(u, year, id, level, 'B', "B2", QStringLiteral("進修學士班"), QStringLiteral("TA"));
    }

    Demo& m_demo;
    std::vector<Node>& m_nodes;
    int& m_nextId;
};

} // namespace

const ClassNode* Unit::classOf(int year, char dtype, const QString& s1class) const {
    const auto it = classes.find(year);
    if (it == classes.end()) return nullptr;
    for (const ClassNode& c : it->second)
        if (c.dtype == dtype && c.s1class == s1class) return &c;
    return nullptr;
}

void buildUnits(Demo& demo) {
    const auto& specs = collegeSpecs();
    const int collegeCount = std::min(int(specs.size()), demo.scaled(specs.size(), 2));
    const int unitsPerCollege = std::min(6, demo.scaled(6, 3));
    int depSer = 1;
    for (int c = 0; c < collegeCount; ++c) {
        const CollegeSpec& spec = specs[size_t(c)];
        const UnitSpec collegeSpec{spec.code, spec.name, spec.shortName, 10, spec.topics, 0.15, "", 0};
        Unit college = makeUnit(collegeSpec, UnitKind::College, spec.location);
        college.depSer = depSer++;
        const int collegeIndex = int(demo.units.size());
        demo.units.push_back(college);
        for (int k = 0; k < unitsPerCollege; ++k) {
            const UnitSpec& us = spec.units[size_t(k)];
            Unit u = makeUnit(us, kindOfLevel(us.level), spec.location);
            u.depSer = depSer++;
            u.parentSer = demo.units[size_t(collegeIndex)].depSer;
            u.college = collegeIndex;
            demo.units.push_back(u);
        }
    }
    for (const UnitSpec& spec : kGeneralUnits) {
        Unit u = makeUnit(spec, UnitKind::GeneralEd, 1);
        u.depSer = depSer++;
        u.oldRules = u.code == QLatin1String("LB__");
        demo.units.push_back(u);
    }
    Unit centre = makeUnit(kTeacherEdCentre, UnitKind::TeacherEdCentre, 1);
    centre.depSer = depSer++;
    demo.units.push_back(centre);
    const int education = demo.unitIndex(QStringLiteral("ED__"));
    for (const UnitSpec& spec : kTeacherEdUnits) {
        Unit u = makeUnit(spec, UnitKind::TeacherEd, 1);
        u.depSer = depSer++;
        u.parentSer = education >= 0 ? demo.units[size_t(education)].depSer : 0;
        u.oldRules = u.code == QLatin1String("TH__");
        demo.units.push_back(u);
    }
}

void writeUnits(Demo& demo) {
    Inserter subClass(demo.db,
                      "INSERT INTO VELM_DBASE.SUB_CLASS (CLASS_ID, NAME, short_name, DEP_LEVEL, LOCATION, "
                      "COLLEGE, DEP_SER, parent) VALUES (?,?,?,?,?,?,?,?)");
    const int education = demo.unitIndex(QStringLiteral("ED__"));
    for (const Unit& u : demo.units) {
        QString college = universityName();
        if (u.kind == UnitKind::College)
            college = u.name;
        else if (u.college >= 0)
            college = demo.units[size_t(u.college)].name;
        else if (u.kind == UnitKind::TeacherEd && education >= 0)
            college = demo.units[size_t(education)].name;
        subClass.row({u.code, u.name, u.shortName, u.level, u.location, college, u.depSer, u.parentSer});
    }

    std::vector<Node> nodes;
    int nextId = 1;
    for (int year : kRuleYears)
        TreeBuilder(demo, nodes, nextId).build(year);
    Inserter node(
        demo.db,
        "INSERT INTO ACADEMIC.tbZT_DEPYEAR (depyr_id, parent, year, depyr_code, dep_code, dep_name, "
        "DEP_ABBREV, d_type, dep_level, dorder, location, s1_class) VALUES (?,?,?,?,?,?,?,?,?,?,?,?)");
    for (const Node& n : nodes)
        node.row({n.id, n.parent ? Val(n.parent) : Val(nullptr), n.year, n.code, n.depCode, n.name, n.abbrev,
                  n.dtype, n.level, n.dorder, n.location, n.s1class});

    Inserter kinds(demo.db,
                   "INSERT INTO ACADEMIC.tbZT_DEPYEAR_DTYPE (d_type, d_order, d_name) VALUES (?,?,?)");
    const char* const kindRows[][2] = {{"U", "大學"}, {"C", "學院"}, {"D", "系所"}, {"B", "學士"},
                                       {"M", "碩士"}, {"P", "博士"}, {"G", "組別"}};
    int order = 0;
    for (const auto& k : kindRows)
        kinds.row({k[0], order++, k[1]});

    // The same unit traced from one year to the next: codes differ only in their year digits.
    Inserter trace(demo.db,
                   "INSERT INTO ACADEMIC.tbZT_depyr_year_trace (depyr_codea, depyr_codeb) VALUES (?,?)");
    const QString earlier = QString::number(kRuleYears[0]);
    for (const Node& n : nodes) {
        if (n.year == kRuleYears[1]) trace.row({n.code, QString(n.code).replace(4, 3, earlier)});
    }
}

int Demo::unitIndex(const QString& code) const {
    for (size_t i = 0; i < units.size(); ++i)
        if (units[i].code == code) return int(i);
    return -1;
}

} // namespace dudodu::engine::demo
