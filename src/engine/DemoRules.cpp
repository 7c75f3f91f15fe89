// The subject catalogue of every unit and the curriculum rules built from it: programme rules of
// two academic years, general-education spheres, prerequisites, the old-style per-year rule tables,
// S/U/I grading and subject offsets.
#include "engine/DemoModel.h"
#include "engine/Schema.h"

#include <set>
#include <sqlite3.h>

namespace dudodu::engine::demo {
namespace {

struct Variant {
    const char *prefix, *suffix; // Chinese name = prefix + topic + suffix
    const char* english;         // %1 = the topic's English name
};

const Variant kBachelor[] = {{"", "", "%1"},
                             {"", "導論", "Introduction to %1"},
                             {"", "概論", "Survey of %1"},
                             {"", "專題", "Topics in %1"},
                             {"", "實務", "Practice of %1"},
                             {"", "應用", "Applied %1"},
                             {"進階", "", "Advanced %1"},
                             {"", "實作", "%1 Workshop"},
                             {"", "研究", "Studies in %1"}};
const Variant kGraduate[] = {
    {"", "特論", "Special Topics in %1"}, {"", "專題研究", "Research in %1"},
    {"高等", "", "Advanced %1"},          {"", "研討", "Seminar on %1"},
    {"前瞻", "", "Frontiers of %1"},      {"", "理論與應用", "%1: Theory and Applications"},
    {"", "方法論", "Methodology of %1"},  {"", "專題討論", "Colloquium on %1"}};
// Service units offer many sections of few courses: their names repeat.
const Variant kService[] = {
    {"", "", "%1"}, {"", "", "%1"}, {"", "導論", "Introduction to %1"}, {"", "專題", "Topics in %1"}};
const Variant kLab = {"", "實驗", "%1 Laboratory"};

const char* const kEpTypes[] = {"教育基礎課程", "教育方法課程", "教材教法", "教育實踐課程", "選修課程"};

struct SphereSpec {
    int id;
    const char* name;
    int order;
    const char* flag;
};
const SphereSpec kSpheres[] = {{1, "人文與藝術", 80, "T"}, {2, "社會與法政", 70, "T"},
                               {3, "自然與工程", 60, "T"}, {4, "生命與健康", 50, "T"},
                               {5, "資訊與數理", 40, "T"}, {6, "語文與溝通", 30, "T"},
                               {7, "跨域整合", 20, "T"},   {8, "舊制通識", 10, "F"}};

bool isGeneralGroup(const Unit& u) {
    return u.kind == UnitKind::GeneralEd;
}
bool scienceLike(int topics) {
    return topics == 3 || topics == 4 || topics == 5 || topics == 10 || topics == 11;
}

QString workPlace(const Subject& s, const Unit& u) {
    if (isGeneralGroup(u)) return s.salary == 9 ? QStringLiteral("校核心") : QStringLiteral("通識");
    if (u.kind == UnitKind::TeacherEd) return QStringLiteral("師培");
    switch (s.cls) {
    case 'M':
        return QStringLiteral("碩士");
    case 'W':
        return QStringLiteral("碩專");
    case 'P':
        return QStringLiteral("博士");
    case 'E':
        return QStringLiteral("夜") + QStringLiteral("一二三四").mid(s.grade - 1, 1);
    default:
        return QStringLiteral("學") + QStringLiteral("一二三四").mid(s.grade - 1, 1);
    }
}

// Builds the subjects of one unit.
class CatalogueBuilder {
  public:
    CatalogueBuilder(Demo& demo, int unit) : m_demo(demo), m_unit(unit), m_u(demo.units[size_t(unit)]) {}

    void build(int perSemester) {
        std::vector<char> kinds = classKinds();
        for (int semester = 1; semester <= 2; ++semester) {
            int made = 0;
            while (made < perSemester) {
                const char cls = kinds[size_t(m_demo.rng.below(int(kinds.size())))];
                made += addRegular(cls, semester);
            }
        }
        addSpecials();
    }

  private:
    std::vector<char> classKinds() const {
        std::vector<char> kinds;
        auto add = [&](char c, int n) { kinds.insert(kinds.end(), size_t(n), c); };
        if (m_u.bachelor || m_u.kind == UnitKind::College) add('B', m_u.kind == UnitKind::Institute ? 0 : 12);
        if (m_u.master) add('M', m_u.kind == UnitKind::Institute ? 12 : 4);
        if (m_u.doctoral) add('P', 2);
        if (m_u.inService) add('W', 1);
        if (m_u.evening) add('E', 1);
        if (kinds.empty()) add('B', 1);
        return kinds;
    }

    int nextNumber(char cls, int grade) {
        int digit = 9;
        switch (cls) {
        case 'B':
            digit = isGeneralGroup(m_u) ? 0 : grade;
            break;
        case 'M':
            digit = 5;
            break;
        case 'W':
            digit = 6;
            break;
        case 'P':
            digit = 7;
            break;
        case 'E':
            digit = 8;
            break;
        }
        const int sequence = ++m_sequence[digit];
        if (sequence > 999)
            throw DemoError("the subject catalogue outgrows its code space; use a smaller scale");
        return digit * 1000 + sequence;
    }

    // A name from the unit's topics; departments do not repeat names.
    std::pair<QString, QString> name(const Variant* variants, int count, bool unique = true) {
        const std::vector<Topic>& pool = topicPool(m_u.topics);
        for (int attempt = 0;; ++attempt) {
            const Topic& t = pool[size_t(m_demo.rng.below(int(pool.size())))];
            const Variant& v = variants[m_demo.rng.below(count)];
            QString cn =
                QString::fromUtf8(v.prefix) + QString::fromUtf8(t.name) + QString::fromUtf8(v.suffix);
            QString english = QString::fromUtf8(v.english).arg(QString::fromUtf8(t.english));
            if (attempt >= 300) { // a very large catalogue: number the repeats
                cn += QStringLiteral("(%1)").arg(attempt - 299);
                english += QStringLiteral(" (%1)").arg(attempt - 299);
            }
            if (m_names.insert(cn).second || !unique) return {cn, english};
        }
    }

    Subject base(char cls, int grade, int semester) {
        Subject s;
        s.unit = m_unit;
        s.cls = cls;
        s.grade = grade;
        s.semester = semester;
        s.base = m_u.code + QStringLiteral("%1").arg(nextNumber(cls, grade), 4, 10, QLatin1Char('0'));
        s.sysno = m_u.oldRules ? -1 : qint64(100001 + m_demo.subjects.size());
        return s;
    }

    int push(Subject s) {
        m_demo.subjects.push_back(s);
        return int(m_demo.subjects.size()) - 1;
    }

    int addRegular(char cls, int semester) {
        Rng& rng = m_demo.rng;
        const bool bachelorLike = cls == 'B' || cls == 'E';
        const int grade = bachelorLike ? rng.between(1, 4) : 1;
        Subject s = base(cls, grade, semester);
        std::pair<QString, QString> names;
        if (isGeneralGroup(m_u) || m_u.kind == UnitKind::TeacherEd || m_u.kind == UnitKind::College) {
            names = name(kService, int(std::size(kService)), false);
        } else if (bachelorLike && scienceLike(m_u.topics) && rng.chance(0.12)) {
            names = name(&kLab, 1);
            s.credit = 1;
            s.hours = 0;
            s.lab = 3;
            s.salary = 3;
            s.eval = 3;
            s.roomKind = 1;
        } else {
            names = bachelorLike ? name(kBachelor, int(std::size(kBachelor)))
                                 : name(kGraduate, int(std::size(kGraduate)));
        }
        s.name = names.first;
        s.englishName = names.second;
        if (s.lab == 0) {
            const int credits = isGeneralGroup(m_u) ? rng.between(2, 3)
                                                    : (rng.chance(0.2)   ? 2
                                                       : rng.chance(0.1) ? 4
                                                                         : 3);
            s.credit = credits;
            s.hours = credits;
        }
        s.must = (bachelorLike && grade <= 2 && rng.chance(0.6)) || (!bachelorLike && rng.chance(0.3))
                     ? QStringLiteral("必")
                     : QStringLiteral("選");
        decorate(s);
        if (bachelorLike && !s.lab && rng.chance(0.01)) s.sections = rng.between(2, 4);

        // Year-long subjects: the first half in semester 1, the second half in semester 2.
        if (semester == 1 && bachelorLike && s.lab == 0 && !isGeneralGroup(m_u) && rng.chance(0.08)) {
            const QString title = s.name, english = s.englishName;
            s.name = title + QStringLiteral("(一)");
            s.englishName = english + QStringLiteral(" (I)");
            const int first = push(s);
            Subject second = base(cls, grade, 2);
            second.name = title + QStringLiteral("(二)");
            second.englishName = english + QStringLiteral(" (II)");
            second.credit = s.credit;
            second.hours = s.hours;
            second.must = s.must;
            second.partner = first;
            decorate(second);
            m_names.insert(second.name);
            push(second);
            return 1;
        }
        push(s);
        return 1;
    }

    // Unit-specific categories, spheres and gradings.
    void decorate(Subject& s) {
        Rng& rng = m_demo.rng;
        if (m_u.code == QLatin1String("PEC_")) {
            s.credit = 0;
            s.hours = 2;
            s.salary = 2;
            s.eval = 2;
            s.roomKind = 2;
            s.must = QStringLiteral("必");
        } else if (m_u.code == QLatin1String("MUS_") && rng.chance(0.3)) {
            s.salary = 5 + rng.below(3);
        } else if (isGeneralGroup(m_u)) {
            s.salary = m_u.code == QLatin1String("GC__") && rng.chance(0.2) ? 9 : 1;
            s.spheres[0] = 1 + rng.below(7);
            if (rng.chance(0.3)) s.spheres[1] = 1 + (s.spheres[0] + rng.below(5)) % 7;
        } else if (m_u.kind == UnitKind::TeacherEd) {
            s.epType = QString::fromUtf8(kEpTypes[rng.below(int(std::size(kEpTypes)))]);
        }
        if (m_u.code == QLatin1String("LB__") && rng.chance(0.3)) s.sui = QStringLiteral("SU");
    }

    void addSpecial(char cls, int semester, const QString& title, const QString& english, int special,
                    int salary, int eval, int credit) {
        Subject s = base(cls, cls == 'B' ? 4 : 1, semester);
        s.name = title;
        s.englishName = english;
        s.special = special;
        s.salary = salary;
        s.eval = eval;
        s.credit = credit;
        s.hours = credit;
        s.must = cls == 'B' ? QStringLiteral("選") : QStringLiteral("必");
        if (special == -3) s.sui = QStringLiteral("SUI");
        m_names.insert(title);
        push(s);
    }

    void addSpecials() {
        if (m_u.master) {
            addSpecial('M', 0, QStringLiteral("碩士論文"), QStringLiteral("Master's Thesis"), -3, 4, 1, 3);
            addSpecial('M', 0, QStringLiteral("書報討論"), QStringLiteral("Seminar"), 0, 8, 1, 1);
        }
        if (m_u.doctoral)
            addSpecial('P', 0, QStringLiteral("博士論文"), QStringLiteral("Doctoral Dissertation"), -3, 4, 1,
                       6);
        if (m_u.kind == UnitKind::Department && m_u.bachelor && scienceLike(m_u.topics) &&
            m_demo.rng.chance(0.5))
            addSpecial('B', 2, QStringLiteral("暑期實習"), QStringLiteral("Summer Internship"), -1, 3, 3, 2);
        if (m_u.code == QLatin1String("GC__")) {
            addSpecial('B', 1, QStringLiteral("校際選課通識"),
                       QStringLiteral("Inter-University General Education"), -4, 1, 99, 2);
            addSpecial('B', 1, QStringLiteral("寒期服務學習"), QStringLiteral("Winter Service Learning"), -2,
                       1, 1, 1);
        }
        if (m_u.kind == UnitKind::TeacherEd) {
            Subject s = base('B', 4, 2);
            s.name = QStringLiteral("教學實習");
            s.englishName = QStringLiteral("Practicum in Teaching");
            s.credit = 2;
            s.hours = 2;
            s.roomKind = 3; // at a partner school, typed as free text
            s.epType = QStringLiteral("教育實踐課程");
            s.must = QStringLiteral("必");
            if (m_names.insert(s.name).second) push(s);
        }
    }

    Demo& m_demo;
    int m_unit;
    const Unit& m_u;
    std::map<int, int> m_sequence;
    std::set<QString> m_names;
};

} // namespace

void buildCatalogue(Demo& demo) {
    double total = 0;
    for (const Unit& u : demo.units)
        if (u.offers()) total += u.weight;
    const int perSemester = demo.scaled(3000, 100);
    for (size_t i = 0; i < demo.units.size(); ++i) {
        const Unit& u = demo.units[i];
        if (!u.offers() || u.weight <= 0) continue;
        // About 7% of a catalogue stays unoffered in a semester; thesis and seminars come on top.
        const int count = std::max(2, int(perSemester * u.weight / total / 0.93 * 0.92 + 0.5));
        CatalogueBuilder(demo, int(i)).build(count);
    }
}

QString subjectWorkPlace(const Subject& s, const Unit& u) {
    return workPlace(s, u);
}

const ClassNode* subjectClass(const Demo& demo, const Subject& s, int year) {
    const Unit& u = demo.units[size_t(s.unit)];
    switch (s.cls) {
    case 'W':
        return u.classOf(year, 'M', QStringLiteral("WS"));
    case 'E':
        return u.classOf(year, 'B', QStringLiteral("TA"));
    default:
        return u.classOf(year, s.cls, QStringLiteral("01"));
    }
}

void writeRules(Demo& demo) {
    Rng& rng = demo.rng;
    Inserter sphere(demo.db,
                    "INSERT INTO VELM_DBASE.rule_general_sphere (sphere_id, sphere_sname, sphere_default, "
                    "sphere_flag) VALUES (?,?,?,?)");
    for (const SphereSpec& s : kSpheres) {
        sphere.row({s.id, s.name, s.order, s.flag});
        demo.spheres.push_back({s.id, QString::fromUtf8(s.name)});
    }

    std::vector<std::vector<int>> byUnit(demo.units.size());
    for (size_t i = 0; i < demo.subjects.size(); ++i)
        byUnit[size_t(demo.subjects[i].unit)].push_back(int(i));

    // Prerequisites inside a unit's bachelor subjects: a lower grade subject of the same class.
    for (Subject& s : demo.subjects) {
        if (s.cls != 'B' || s.grade < 2 || s.special || !rng.chance(0.25)) continue;
        const std::vector<int>& same = byUnit[size_t(s.unit)];
        for (int attempt = 0; attempt < 6; ++attempt) {
            const int j = rng.pick(same);
            const Subject& p = demo.subjects[size_t(j)];
            if (p.cls == 'B' && p.grade < s.grade && !p.special) {
                s.prerequisites.push_back(j);
                break;
            }
        }
    }

    Inserter subject(demo.db,
                     "INSERT INTO VELM_DBASE.rule_subject (subject_sysno, subject_id, subject_name, "
                     "subject_engname, subject_credit, across_sphere_id, subject_eptype, crossyear_flag) "
                     "VALUES (?,?,?,?,?,?,?,?)");
    Inserter sphereOf(demo.db,
                      "INSERT INTO VELM_DBASE.rule_subject_sphere (subject_sysno, dep_id, across_sphere) "
                      "VALUES (?,?,?)");
    Inserter offset(demo.db,
                    "INSERT INTO ACADEMIC.tb_Offset_SUBJECT (subject_id1, subject_id2, year) VALUES (?,?,?)");
    Inserter sui(demo.db, "INSERT INTO VELM_DBASE.seme_sui_basic (subject_id, S, U, I) VALUES (?,?,?,?)");
    for (const Subject& s : demo.subjects) {
        const Unit& u = demo.units[size_t(s.unit)];
        if (!s.sui.isEmpty()) sui.row({s.code(), "T", "T", s.sui == QLatin1String("SUI") ? "T" : "F"});
        if (s.sysno < 0) continue;
        const bool crossYear = rng.chance(0.3);
        subject.row({s.sysno, s.code(), s.name, s.englishName, s.credit,
                     s.spheres[0] ? Val(s.spheres[0]) : Val(nullptr), s.epType, crossYear ? 1 : 0});
        for (int sp : s.spheres)
            if (sp) sphereOf.row({s.sysno, u.code, sp});
        // A few department subjects also count for a sphere of their own unit (not a general one).
        if (!isGeneralGroup(u) && rng.chance(0.03)) sphereOf.row({s.sysno, u.code, 1 + rng.below(7)});
        if (crossYear && rng.chance(0.3))
            offset.row(
                {s.code(),
                 s.base.left(4) + QStringLiteral("%1A").arg(9000 + rng.below(999), 4, 10, QLatin1Char('0')),
                 kRuleYears[0]});
    }

    // Programme rules: per year, one programme per class (and per study group) of each unit.
    Inserter program(demo.db, "INSERT INTO VELM_DBASE.rule_program_basic (program_id, rule_year, depyr_code, "
                              "program_name) VALUES (?,?,?,?)");
    Inserter relation(demo.db, "INSERT INTO VELM_DBASE.rule_program_relation (ident, program_id, depyr_code, "
                               "subject_sysno, subject_must_sele, subject_level) VALUES (?,?,?,?,?,?)");
    Inserter previous(demo.db,
                      "INSERT INTO VELM_DBASE.rule_subject_previous (subject_sysno, depyr_code, pre_type, "
                      "pre_subject_sysno) VALUES (?,?,?,?)");
    qint64 programId = 1, ident = 1;
    for (int year : kRuleYears) {
        for (size_t ui = 0; ui < demo.units.size(); ++ui) {
            const Unit& u = demo.units[ui];
            const auto classes = u.classes.find(year);
            if (u.oldRules || !u.offers() || classes == u.classes.end()) continue;
            for (const ClassNode& c : classes->second) {
                const qint64 classProgram = programId++;
                program.row({classProgram, year, c.code, u.name + c.name});
                std::vector<std::pair<qint64, QString>> groupPrograms;
                for (const QString& g : c.groups) {
                    groupPrograms.push_back({programId, g});
                    program.row({programId++, year, g, u.name + c.name});
                }
                for (int si : byUnit[ui]) {
                    const Subject& s = demo.subjects[size_t(si)];
                    if (subjectClass(demo, s, year) != &c || s.sysno < 0) continue;
                    const QString level = workPlace(s, u);
                    demo.ruleLinks[{year, s.sysno}] = {classProgram, ident};
                    relation.row({ident++, classProgram, c.code, s.sysno, s.must, level});
                    for (const auto& [groupProgram, groupCode] : groupPrograms)
                        if (rng.chance(0.5))
                            relation.row({ident++, groupProgram, groupCode, s.sysno, s.must, level});
                    for (int p : s.prerequisites)
                        previous.row(
                            {s.sysno, c.code, rng.chance(0.7) ? "*" : "#", demo.subjects[size_t(p)].sysno});
                }
            }
        }
    }

    // Old-style rules: the legacy year the offerings were taken from and the two current years.
    for (int year : {kLegacyRuleYear, kRuleYears[0], kRuleYears[1]}) {
        QString error;
        if (!schema::createRuleYearTable(demo.db, year, &error)) throw DemoError(error.toStdString());
        const QByteArray sql =
            QStringLiteral("INSERT INTO VELM_DBASE.SUBJ_DESG_%1 (SYEAR, DEPYR_CODE, LINETYPE, "
                           "SUBJ_CODE, CONTENT, ENG_NAME, DEP_CLASS, GC_TYPE, EP_TYPE, DEP_ID) "
                           "VALUES (?,?,?,?,?,?,?,?,?,?)")
                .arg(year)
                .toUtf8();
        Inserter desg(demo.db, sql.constData());
        for (size_t ui = 0; ui < demo.units.size(); ++ui) {
            const Unit& u = demo.units[ui];
            if (!u.oldRules) continue;
            const QString depyr = u.code + QString::number(year) + QStringLiteral("B1");
            desg.row({year, depyr, "HEAD", nullptr, u.name + QStringLiteral("課程規劃"), nullptr, nullptr,
                      nullptr, nullptr, u.code});
            for (int si : byUnit[ui]) {
                const Subject& s = demo.subjects[size_t(si)];
                QStringList prereqs;
                for (int p : s.prerequisites)
                    prereqs << demo.subjects[size_t(p)].name;
                const QString content = QStringLiteral("%1[]%2[]%3[]%4")
                                            .arg(s.name)
                                            .arg(s.credit)
                                            .arg(prereqs.join(QStringLiteral("、")))
                                            .arg(s.hours);
                QString gcType;
                if (s.spheres[0]) gcType = demo.spheres[size_t(s.spheres[0] - 1)].second;
                desg.row({year, depyr, QStringLiteral("SUBJ%1修").arg(s.must), s.code(), content,
                          s.englishName, workPlace(s, u), gcType, s.epType, u.code});
            }
        }
    }
}

} // namespace dudodu::engine::demo
