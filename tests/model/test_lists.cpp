#include "ModelFixture.h"

#include "db/Errors.h"
#include "model/OfferingLists.h"

#include <QListWidget>

namespace dudodu {
namespace {

TEST(GCGroupTest, HoldsTheFiveCodesQuotedForAnInList) {
    const TGC_GROUP group;
    EXPECT_EQ(group.FQuotedCodes, QStringLiteral("'GC__','LB__','LC__','PEC_','CLC_'"));
    EXPECT_EQ(group, (QStringList{"GC__", "LB__", "LC__", "PEC_", "CLC_"}));
    EXPECT_TRUE(group.contains(QStringLiteral("PEC_")));
    EXPECT_FALSE(group.contains(QStringLiteral("PEC"))); // exact match only
}

TEST(ListJoinTest, EmptyOneAndSeveralElements) {
    struct Case {
        QStringList lines;
        QString values;     // JoinValues / TGC_SPHERE::Join with "<BR>"
        QString wholeLines; // TPreSubjList::Join with "<BR>"
    };
    const Case cases[] = {
        {{}, "", ""},
        {{"1=通識一"}, "通識一", "1=通識一"},
        {{"1=甲", "2=乙=丙", "3="}, "甲<BR>乙=丙<BR>", "1=甲<BR>2=乙=丙<BR>3="},
    };
    for (const Case& c : cases) {
        TGC_SPHERE spheres(nullptr);
        TPreSubjList pre(nullptr);
        TTeacherList teachers;
        spheres.append(c.lines);
        pre.append(c.lines);
        teachers.append(c.lines);
        EXPECT_EQ(spheres.JoinBR(), c.values) << c.lines.join('|').toStdString();
        EXPECT_EQ(teachers.NamesBR(), c.values);
        EXPECT_EQ(JoinValues(c.lines, QStringLiteral("<BR>")), c.values);
        EXPECT_EQ(pre.JoinBR(), c.wholeLines);
    }
    TGC_SPHERE spheres(nullptr);
    spheres.append({"1=甲", "2=乙"});
    EXPECT_EQ(spheres.JoinCRLF(), QStringLiteral("甲\r\n乙"));
}

TEST(PreSubjListTest, SetTextAppendsTheCommaSeparatedParts) {
    struct Case {
        QString text;
        QStringList appended;
    };
    const Case cases[] = {
        {"甲、 乙、丙", {"甲", "乙", "丙"}}, {"*微積分", {"*微積分"}}, {"", {""}}, {"甲、", {"甲", ""}},
        {" 甲 、  乙  ", {" 甲 ", "乙"}}, // blanks are trimmed after a comma only
    };
    for (const Case& c : cases) {
        TPreSubjList list(nullptr);
        list.append(QStringLiteral("舊"));
        list.SetText(c.text);
        EXPECT_EQ(list.FText, c.text);
        EXPECT_EQ(list, QStringList{"舊"} + c.appended) << c.text.toStdString();
    }
}

TEST(TeacherListTest, EditorShowsTheLinesAndKeyRunsThemTogether) {
    TTeacherList teachers;
    EXPECT_EQ(teachers.TeacherKey(), QString());
    teachers.append({"1234=王大明", "-1=待聘"});
    QListWidget box;
    box.addItem(QStringLiteral("old"));
    teachers.SetTcherEditor(&box);
    EXPECT_EQ(teachers.GetTcherEditor(), &box);
    EXPECT_EQ(test::ListBoxLines(box), (QStringList{"1234=王大明", "-1=待聘"}));
    EXPECT_EQ(teachers.TeacherKey(), QStringLiteral("1234=王大明-1=待聘"));
    EXPECT_EQ(teachers.NamesBR(), QStringLiteral("王大明<BR>待聘"));
}

class ListLoadTest : public test::ModelDbTest {
  protected:
    void SetUp() override {
        test::ModelDbTest::SetUp();
        exec(QStringLiteral(
            "insert VELM_DBASE..rule_general_sphere(sphere_id, sphere_sname, sphere_default) values(1, "
            "'人文', 0)\n"
            "insert VELM_DBASE..rule_general_sphere(sphere_id, sphere_sname, sphere_default) values(2, "
            "'自然', 5)\n"
            "insert VELM_DBASE..rule_general_sphere(sphere_id, sphere_sname, sphere_default) values(3, "
            "'社會', 1)\n"
            "insert VELM_DBASE..rule_subject_sphere(subject_sysno, dep_id, across_sphere) values(10, 'GC__', "
            "1)\n"
            "insert VELM_DBASE..rule_subject_sphere(subject_sysno, dep_id, across_sphere) values(10, 'PEC_', "
            "2)\n"
            "insert VELM_DBASE..rule_subject_sphere(subject_sysno, dep_id, across_sphere) values(10, 'MATH', "
            "3)\n"
            "insert VELM_DBASE..rule_subject_sphere(subject_sysno, dep_id, across_sphere) values(11, 'MATH', "
            "1)\n"
            "insert VELM_DBASE..SEMEGC_FIELD(SUBJECT_GROUP, seq, gc_code, gc_field) values(7, 2, 'B', "
            "'第二')\n"
            "insert VELM_DBASE..SEMEGC_FIELD(SUBJECT_GROUP, seq, gc_code, gc_field) values(7, 1, 'A', "
            "'第一')\n"
            "insert VELM_DBASE..rule_subject(subject_sysno, subject_id, subject_name) values(20, 'M1', "
            "'微積分')\n"
            "insert VELM_DBASE..rule_subject(subject_sysno, subject_id, subject_name) values(21, 'P1', "
            "'物理')\n"
            "insert VELM_DBASE..rule_subject_previous(subject_sysno, depyr_code, pre_type, "
            "pre_subject_sysno) "
            "values(10, 'D''1', '#', 21)\n"
            "insert VELM_DBASE..rule_subject_previous(subject_sysno, depyr_code, pre_type, "
            "pre_subject_sysno) "
            "values(10, 'D''1', '*', 20)\n"
            "insert VELM_DBASE..rule_subject_previous(subject_sysno, depyr_code, pre_type, "
            "pre_subject_sysno) "
            "values(10, 'OTHER', '*', 21)\n"
            "insert VELM_DBASE..SEMEOLD_PRESUBJ(SUBJECT_GROUP, seq, pre_subject_name) values(7, 2, '乙')\n"
            "insert VELM_DBASE..SEMEOLD_PRESUBJ(SUBJECT_GROUP, seq, pre_subject_name) values(7, 1, '甲')"));
    }
};

TEST_F(ListLoadTest, SpheresOfARuleComeFromTheGeneralEducationDepartmentsOnly) {
    auto spheres = TGC_SPHERE::CreateFromRule(query.get(), 10);
    // Ordered by the sphere's default weight, highest first; the MATH row is not general education.
    EXPECT_EQ(*spheres, (QStringList{"2=自然", "1=人文"}));
    spheres->LoadFromRule(11);
    EXPECT_TRUE(spheres->isEmpty());
    EXPECT_EQ(spheres->JoinBR(), QString());
    EXPECT_FALSE(query->active());
}

TEST_F(ListLoadTest, SpheresAndPrerequisitesOfAnOfferingKeepTheirStoredOrder) {
    auto spheres = TGC_SPHERE::CreateForOffering(query.get(), 7);
    EXPECT_EQ(*spheres, (QStringList{"A=第一", "B=第二"}));
    spheres->LoadFromOffering(8);
    EXPECT_TRUE(spheres->isEmpty());

    TPreSubjList pre(query.get());
    pre.append(QStringLiteral("stale"));
    pre.LoadFromOffering(7);
    EXPECT_EQ(pre, (QStringList{"甲", "乙"}));
}

TEST_F(ListLoadTest, PrerequisitesOfARuleCarryTheirKindMark) {
    // The depyr code holds a quote: it reaches the SQL doubled, and finds its rows.
    auto pre = TPreSubjList::CreateFromRule(query.get(), 10, 99, QStringLiteral("D'1"));
    EXPECT_EQ(*pre, (QStringList{"*微積分", "#物理"}));
    pre->LoadFromRule(10, -1, QStringLiteral("NONE"));
    EXPECT_TRUE(pre->isEmpty());
}

TEST_F(ListLoadTest, AFailedPrerequisiteLoadNamesTheFailureAndKeepsTheOldLines) {
    TPreSubjList pre(query.get());
    pre.append(QStringLiteral("*舊"));
    connection->failWith = QStringLiteral("server gone");
    for (bool fromRule : {true, false}) {
        try {
            if (fromRule)
                pre.LoadFromRule(10, 1, QStringLiteral("D1"));
            else
                pre.LoadFromOffering(7);
            ADD_FAILURE() << "no error";
        } catch (const TAppError& error) {
            EXPECT_EQ(error.message(), QStringLiteral("無法讀取先修科目:server gone"));
        }
        EXPECT_EQ(pre, QStringList{"*舊"});
    }
    // The general-education loads let the gateway's error through as it is.
    TGC_SPHERE spheres(query.get());
    EXPECT_THROW(spheres.LoadFromOffering(7), TDBError);
}

} // namespace
} // namespace dudodu
