// The editor's department-year lists: the class an offering is for (cbCLASSTYPE), the department it
// supports (cbBELONG), the unit whose syllabus it follows (cbCrsDepyr_code), the earlier offering it
// continues (cbTERM), and the levels (cbWORK_PLACE) that follow the chosen class.
#include "common/Helpers.h"
#include "common/NodeData.h"
#include "common/SqlText.h"
#include "db/DataModule.h"
#include "forms/main/KursplanForm.h"
#include "model/OfferingRecord.h"
#include "model/StringList.h"

#include <QBoxLayout>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>

namespace dudodu {

namespace {

bool IsEveningClass(const QString& s1Class) {
    return s1Class == QLatin1String("WS") || s1Class == QLatin1String("TA");
}

QString Text(const TQueryDataSet& query, const char* field) {
    return query.fieldByName(QLatin1String(field)).asString();
}

int Number(const TQueryDataSet& query, const char* field) {
    return query.fieldByName(QLatin1String(field)).asInteger();
}

// The unit fields the class and supporting-department lists share; the sub-unit's columns carry the
// suffix 1 when the statement joins a unit with its children.
std::shared_ptr<TNodedata> UnitNode(const TQueryDataSet& query, bool childColumns) {
    auto node = std::make_shared<TNodedata>();
    node->year = Number(query, "year");
    node->location = Number(query, "location");
    node->dep_code = Text(query, "dep_code");
    node->d_type = Text(query, childColumns ? "d_type1" : "d_type");
    node->s1_class = Text(query, childColumns ? "s1_class1" : "s1_class");
    node->depyr_code = Text(query, childColumns ? "depyr_code1" : "depyr_code");
    return node;
}

void ClearNodeCombo(QComboBox* combo) {
    FreeNodeObjects(combo);
    combo->clear();
}

} // namespace

void TfrmKURSPLAN::createDepYearControls(QBoxLayout* layout) {
    QWidget* parent = layout->parentWidget();
    cbWORK_PLACE = new QComboBox(parent);
    cbWORK_PLACE->setObjectName(QStringLiteral("cbWORK_PLACE"));
    cbWORK_PLACE->setEditable(true);
    cbWORK_PLACE->addItems({QStringLiteral("學一"), QStringLiteral("學二"), QStringLiteral("學三"),
                            QStringLiteral("學四"), QStringLiteral("碩士"), QStringLiteral("博士"),
                            QStringLiteral("碩專"), QStringLiteral("公行"), QStringLiteral("共同")});
    ckBELONG = new QCheckBox(QStringLiteral("支援其他系所"), parent);
    ckBELONG->setObjectName(QStringLiteral("ckBELONG"));
    cbBELONG = new QComboBox(parent);
    cbBELONG->setObjectName(QStringLiteral("cbBELONG"));
    edcrsyear = new QLineEdit(parent);
    edcrsyear->setObjectName(QStringLiteral("edcrsyear"));
    edcrsyear->setMaxLength(4);
    cbCrsDepyr_code = new QComboBox(parent);
    cbCrsDepyr_code->setObjectName(QStringLiteral("cbCrsDepyr_code"));
    cbTerm_id = new QComboBox(parent);
    cbTerm_id->setObjectName(QStringLiteral("cbTerm_id"));
    cbTerm_id->addItems({QStringLiteral("0"), QStringLiteral("1"), QStringLiteral("2")});
    ckTERM = new QCheckBox(QStringLiteral("上學期關聯科目"), parent);
    ckTERM->setObjectName(QStringLiteral("ckTERM"));
    cbTERM = new QComboBox(parent);
    cbTERM->setObjectName(QStringLiteral("cbTERM"));
    rgClassSchedule = new QGroupBox(QStringLiteral("上課時段"), parent);
    rgClassSchedule->setObjectName(QStringLiteral("rgClassSchedule"));
    rgClassScheduleButtons = new QButtonGroup(rgClassSchedule);
    auto* kinds = new QVBoxLayout(rgClassSchedule);
    const QString kindNames[] = {QStringLiteral("一般教室時間"), QStringLiteral("暑假上課"),
                                 QStringLiteral("寒假上課"), QStringLiteral("與教師另行約定"),
                                 QStringLiteral("校際選課")};
    for (int id = 0; id < int(std::size(kindNames)); ++id) {
        auto* kind = new QRadioButton(kindNames[id], rgClassSchedule);
        rgClassScheduleButtons->addButton(kind, id);
        kinds->addWidget(kind);
    }
    bbCLASSROOM1 = new QPushButton(QStringLiteral("教室"), parent);
    bbCLASSROOM1->setObjectName(QStringLiteral("bbCLASSROOM1"));
    for (QWidget* widget :
         std::initializer_list<QWidget*>{cbWORK_PLACE, ckBELONG, cbBELONG, edcrsyear, cbCrsDepyr_code,
                                         cbTerm_id, ckTERM, cbTERM, rgClassSchedule, bbCLASSROOM1})
        layout->addWidget(widget);
}

void TfrmKURSPLAN::ckTERMClick() {
    cbTERM->setEnabled(ckTERM->isChecked());
    if (!ckTERM->isChecked()) cbTERM->setCurrentIndex(-1);
}

void TfrmKURSPLAN::cbTerm_idChange() {
    if (cbTerm_id->currentText() == QLatin1String("2")) return;
    cbTERM->setCurrentIndex(-1);
    ckTERM->setChecked(false);
}

void TfrmKURSPLAN::edcrsyearKeyUp() {
    try {
        LoadCrsDepyrList();
    } catch (const std::exception& error) {
        // A handler must not let an error through the event loop.
        ShowException(error);
    }
}

void TfrmKURSPLAN::ReloadRulePrerequisites(const QString& unit) {
    TPreSubjList& prerequisites = FCurrentSubject->PreSubjects();
    prerequisites.LoadFromRule(FCurrentSubject->SubjectSysno(), FCurrentSubject->FRuleDesg->FProgramId, unit);
    // The list box shows what the save will write.
    lbPRE_SUBJECT->clear();
    lbPRE_SUBJECT->addItems(prerequisites);
}

void TfrmKURSPLAN::ckBELONGClick() {
    if (!FCurrentSubject) return;
    cbBELONG->setCurrentIndex(-1);
    edNOTE->clear();
    if (FCurrentSubject->FOrigin == TRULE_SUBJECT::NewBlank) return;
    try {
        ReloadRulePrerequisites(CurrentDepCode());
    } catch (const std::exception& error) {
        ShowException(error);
    }
}

void TfrmKURSPLAN::cbBELONGChange() {
    if (!ckBELONG->isChecked()) return;
    const TNodedata* node = ComboNodeData(cbBELONG, cbBELONG->currentIndex());
    if (!node) return;
    const QString unit = node->depyr_code;
    try {
        if (node->dep_code != CurrentDepCode()) {
            if (FCurrentSubject) ReloadRulePrerequisites(unit);
            edNOTE->setText(QStringLiteral("支援") + cbBELONG->currentText());
        } else {
            edNOTE->clear();
        }
    } catch (const std::exception& error) {
        ShowException(error);
    }
    // Courses of the language centres keep their own syllabus unit.
    const QString prefix = edSUBJECT_ID->text().left(4);
    if (prefix == QLatin1String("SL__") || prefix == QLatin1String("YY__")) return;
    int match = -1;
    for (int i = 0; i < cbCrsDepyr_code->count(); ++i) {
        const TNodedata* unitNode = ComboNodeData(cbCrsDepyr_code, i);
        if (unitNode && unitNode->crs_depyr_code == unit) match = i;
    }
    if (match >= 0) cbCrsDepyr_code->setCurrentIndex(match);
}

int TfrmKURSPLAN::ClassScheduleItemIndex() const {
    return rgClassScheduleButtons->checkedId();
}

void TfrmKURSPLAN::SetClassScheduleItemIndex(int index) {
    if (QAbstractButton* kind = rgClassScheduleButtons->button(index)) {
        kind->setChecked(true);
        return;
    }
    // A button group lets none be unchecked only while it is not exclusive.
    rgClassScheduleButtons->setExclusive(false);
    for (QAbstractButton* kind : rgClassScheduleButtons->buttons())
        kind->setChecked(false);
    rgClassScheduleButtons->setExclusive(true);
}

void TfrmKURSPLAN::rgClassScheduleClick() {
    constexpr int kInterSchool = 4;
    if (!FCurrentSubject || FCurrentSubject->FClassRoom1->SlotCount() == 0) {
        ShowMessage(QStringLiteral("請先載入資料"));
        return;
    }
    const int choice = ClassScheduleItemIndex();
    if (!FIsCurriculumOffice && (FClassScheduleIndex == kInterSchool) != (choice == kInterSchool)) {
        ShowMessage(FClassScheduleIndex == kInterSchool
                        ? QStringLiteral("校際選課課程只供教務處課務組成員設定")
                        : QStringLiteral("校際選課選項只供教務處課務組成員設定"));
        SetClassScheduleItemIndex(FClassScheduleIndex);
        rgClassScheduleClick();
        return;
    }
    try {
        TCLASSROOMList* lists[] = {FTimeList1.get(), FTimeList2.get(), FTimeList3.get()};
        if (choice == 0) {
            // The normal timetable shows the offering's own rooms and slots again.
            bbCLASSROOM1->setEnabled(true);
            const TCLASSROOMList* own[] = {FCurrentSubject->FClassRoom1, FCurrentSubject->FClassRoom2,
                                           FCurrentSubject->FClassRoom3};
            for (int n = 0; n < 3; ++n) {
                lists[n]->AssignFrom(*own[n]);
                lists[n]->RefreshEditor();
            }
            return;
        }
        bbCLASSROOM1->setEnabled(false);
        for (TCLASSROOMList* list : lists)
            list->clear();
        if (choice >= 1 && choice <= kInterSchool) {
            // A special kind: weekday -choice, period -1, in no room of the room master.
            FTimeList1->append(QString::number(-choice) + QStringLiteral("=-1"));
            FTimeList1->FRoomName = QStringLiteral("其他");
            FTimeList1->FRoomIdNo = -1;
            FTimeList1->FLocation = 3;
            FTimeList2->ResetRoom();
            FTimeList3->ResetRoom();
        }
        for (TCLASSROOMList* list : lists)
            list->RefreshEditor();
    } catch (...) {
        // Choosing a kind must never end in an error display; the room picker stays usable.
        bbCLASSROOM1->setEnabled(true);
    }
}

void TfrmKURSPLAN::connectDepYearControls() {
    connect(cbCLASSTYPE, &QComboBox::activated, this, &TfrmKURSPLAN::cbCLASSTYPEChange);
    connect(cbFROM_CLASSTYPE, &QComboBox::activated, this, &TfrmKURSPLAN::cbCLASSTYPEChange);
    connect(ckTERM, &QCheckBox::clicked, this, &TfrmKURSPLAN::ckTERMClick);
    connect(cbTerm_id, &QComboBox::currentTextChanged, this, &TfrmKURSPLAN::cbTerm_idChange);
    connect(edcrsyear, &QLineEdit::textEdited, this, &TfrmKURSPLAN::edcrsyearKeyUp);
    connect(rgClassScheduleButtons, &QButtonGroup::idClicked, this, &TfrmKURSPLAN::rgClassScheduleClick);
    // Only the user's own click and choice count: the editor sets both when it opens an offering.
    connect(ckBELONG, &QCheckBox::clicked, this, &TfrmKURSPLAN::ckBELONGClick);
    connect(cbBELONG, &QComboBox::activated, this, &TfrmKURSPLAN::cbBELONGChange);
}

bool TfrmKURSPLAN::TypedNumber(const QLineEdit* edit, const QString& what, QString* typed) {
    // The year and semester go into the statements unquoted, so only digits may pass.
    const QString digits = TrimBlanks(edit->text());
    if (digits.isEmpty() || !IsDigitsOnly(digits)) {
        AskBox(QStringLiteral("STOP"), what + QStringLiteral("必須是數字 !"), QStringLiteral("錯誤"));
        return false;
    }
    *typed = edit->text();
    return true;
}

bool TfrmKURSPLAN::LoadBelongList() {
    ClearNodeCombo(cbBELONG);
    QString year;
    if (!TypedNumber(edSYEAR, QStringLiteral("學年"), &year)) return false;
    const QString sql =
        QStringLiteral(
            "select a.year,case a.dep_name when '博士班' then c.name else a.dep_name end dep_name, "
            "a.location, b.dep_code ,b.s1_class,   case b.DEP_ABBREV     when '' then  b.dep_name      "
            "when '學士班' then  b.dep_name       when '碩士班' then  b.dep_name        when '博士班' then  "
            "b.dep_name       when '碩專班' then  b.dep_name     else case b.DEP_ABBREV when '學士班統計組' "
            "then '學士班統計科學組' when '臺灣系碩士班臺灣組(教學)' then '臺灣區域研究組' when "
            "'臺灣系碩士班亞太組(教學,全英)' then b.dep_name else b.DEP_ABBREV end  end as dep_name1 ,null "
            "as dep_name2, b.depyr_code as depyr_code1, null as depyr_code2 ,b.d_type as d_type1, null as "
            "d_type2, b.s1_class as s1_class1, null as s1_class2 from ACADEMIC..tbZT_DEPYEAR a join "
            "ACADEMIC..tbZT_DEPYEAR b on (a.depyr_id=b.parent)  INNER JOIN VELM_DBASE..SUB_CLASS AS C ON "
            "C.CLASS_ID=B.DEP_CODE where a.year=") +
        year + QStringLiteral(" and b.d_type in ('B','M','P','G')") + QStringLiteral(" order by a.dep_name");
    ForEachRow(&m_dm.query1(), sql, [this](const TQueryDataSet& query) {
        auto node = UnitNode(query, true);
        const QString name = Text(query, "dep_name");
        const QString name1 = Text(query, "dep_name1");
        const bool both = IsEveningClass(node->s1_class) || TrimBlanks(name) != TrimBlanks(name1);
        const QString code = node->depyr_code;
        AddNodeItem(cbBELONG, both ? name + QLatin1Char('-') + name1 : name, std::move(node), code);
    });
    return true;
}

bool TfrmKURSPLAN::LoadClassTypeList() {
    ClearNodeCombo(cbCLASSTYPE);
    ClearNodeCombo(cbFROM_CLASSTYPE);
    QString year;
    if (!TypedNumber(edSYEAR, QStringLiteral("學年"), &year)) return false;
    const QString department = SqlQuote(CurrentDepCode());
    const bool teacherEdu = IsTeacherEduDep();
    QString sql;
    if (teacherEdu) {
        sql = QStringLiteral("select a.year, a.location, a.dep_code, a.s1_class ,a.depyr_code, case "
                             "a.DEP_ABBREV when '' then a.dep_name else a.DEP_ABBREV end as dep_name, "
                             "a.d_type from ACADEMIC..tbZT_DEPYEAR a where a.year=") +
              year + QStringLiteral(" and a.dep_code=") + department;
    } else {
        sql = QStringLiteral(
                  "select a.year, a.location, b.dep_code, b.s1_class      ,case b.DEP_ABBREV        when "
                  "'' then b.dep_name else "
                  "replace(replace(replace(b.DEP_ABBREV,'碩士班一般組','一般組'),'博士班一般組','一般組'),"
                  "'博士班國際組','國際組')      end     +case b.D_TYPE when 'B' then '(學)'when 'M' then "
                  "'(碩)'when 'P' then '(博)'end as dep_name1    ,null as dep_name2, b.depyr_code as "
                  "depyr_code1, null as depyr_code2 ,b.d_type as d_type1, null as d_type2, b.s1_class as "
                  "s1_class1, null as s1_class2 from ACADEMIC..tbZT_DEPYEAR a join ACADEMIC..tbZT_DEPYEAR b "
                  "on (a.depyr_id=b.parent) where a.year=") +
              year + QStringLiteral(" and a.dep_code=") + department +
              QStringLiteral(" and b.d_type in ('B','M','P')");
    }
    ForEachRow(&m_dm.query1(), sql, [this, teacherEdu](const TQueryDataSet& query) {
        auto node = UnitNode(query, !teacherEdu);
        const QString code = node->depyr_code;
        AddNodeItem(cbCLASSTYPE, Text(query, teacherEdu ? "dep_name" : "dep_name1"), std::move(node), code);
    });
    cbCLASSTYPE->setCurrentIndex(-1);
    CopyNodeItems(cbCLASSTYPE, cbFROM_CLASSTYPE);
    return true;
}

bool TfrmKURSPLAN::LoadCrsDepyrList() {
    ClearNodeCombo(cbCrsDepyr_code);
    QString year;
    if (!TypedNumber(edcrsyear, QStringLiteral("課綱學年"), &year)) return false;
    const QString sql =
        QStringLiteral(
            "select a.year,case a.dep_name when '博士班' then c.name else a.dep_name end dep_name, "
            "a.location, b.dep_code ,b.s1_class, case b.DEP_ABBREV when '' then b.dep_name else case "
            "b.DEP_ABBREV when '學士班統計組' then '學士班統計科學組' when '臺灣系碩士班臺灣組(教學)' then "
            "'臺灣區域研究組'  when '臺灣系碩士班亞太組(教學,全英)' then b.dep_name else b.DEP_ABBREV end  "
            "end as dep_name1 ,null as dep_name2, b.depyr_code as depyr_code1, null as depyr_code2 "
            ",b.d_type as d_type1, null as d_type2, b.s1_class as s1_class1, null as s1_class2 from "
            "ACADEMIC..tbZT_DEPYEAR a join ACADEMIC..tbZT_DEPYEAR b on (a.depyr_id=b.parent)  INNER JOIN "
            "VELM_DBASE..SUB_CLASS AS C ON C.CLASS_ID=B.DEP_CODE where a.year=") +
        year + QStringLiteral(" and b.d_type in ('B','M','P','G')") + QStringLiteral(" order by a.dep_name");
    ForEachRow(&m_dm.query1(), sql, [this](const TQueryDataSet& query) {
        auto node = std::make_shared<TNodedata>();
        node->dep_code = Text(query, "dep_code");
        node->crs_depyr_code = Text(query, "depyr_code1");
        const QString code = node->crs_depyr_code;
        AddNodeItem(cbCrsDepyr_code,
                    Text(query, "year") + Text(query, "dep_name") + QLatin1Char('-') +
                        Text(query, "dep_name1"),
                    std::move(node), code);
    });
    cbCrsDepyr_code->setCurrentIndex(-1);
    return true;
}

bool TfrmKURSPLAN::LoadTermList() {
    ClearNodeCombo(cbTERM);
    QString typed;
    if (!TypedNumber(edSYEAR, QStringLiteral("學年"), &typed)) return false;
    const QString y = TrimBlanks(typed);
    const QString c = CurrentDepCode();
    QStringList lines;
    lines
        << QStringLiteral(
               "    SELECT "
               "RSUBJ_SERNO,LTRIM(CONVERT(VARCHAR(3),YEAR))+S_NAME+MUST+'學分數'+convert(varchar(3),"
               "CREDIT) AS S_NAME FROM VELM_DBASE..SEMESUBJECT WHERE SUBJECT_ID+CONVERT(VARCHAR(3),YEAR) in "
               "(     SELECT          SUBJECT_ID+LTRIM(CONVERT(VARCHAR(3),MAX(YEAR)))   FROM                 "
               "    VELM_DBASE..SEMESUBJECT where             DEPARTMENT in                          (SELECT "
               "DISTINCT                                   substring([depyr_codeb],1,4)                     "
               "           FROM      [ACADEMIC].[dbo].[tbZT_depyr_year_trace]                            "
               "where SUBSTRING(depyr_codea,1,4) in (") +
               SqlQuote(c) + QStringLiteral("))  ") + QStringLiteral("    AND            Term_id='1'") +
               QStringLiteral("  AND") + QStringLiteral(" status<>'1'") +
               QStringLiteral("and YEAR BETWEEN ") + SqlQuote(QString::number(y.toInt() - 3)) +
               QStringLiteral("AND") + SqlQuote(y);
    if (TrimBlanks(edSEME->text()) == QLatin1String("1"))
        lines << QStringLiteral(" and YEAR <>") + SqlQuote(y);
    lines << QStringLiteral(" group by   SUBJECT_ID) ORDER BY YEAR DESC,S_NAME");
    ForEachRow(&m_dm.query1(), lines.join(QLatin1Char('\n')), [this](const TQueryDataSet& query) {
        auto node = std::make_shared<TNodedata>();
        node->rsubj_serno = Text(query, "RSUBJ_SERNO");
        const QString code = node->rsubj_serno;
        AddNodeItem(cbTERM, Text(query, "S_NAME"), std::move(node), code);
    });
    cbTERM->setCurrentIndex(-1);
    return true;
}

void TfrmKURSPLAN::cbCLASSTYPEChange() {
    if (!FCurrentSubject) return;
    if (IsGCGroupDep()) {
        cbWORK_PLACE->clear();
        cbWORK_PLACE->addItems({QStringLiteral("通識"), QStringLiteral("校核心")});
        cbWORK_PLACE->setCurrentIndex(0);
        return;
    }
    if (IsTeacherEduDep()) {
        QString typed;
        if (!TypedNumber(edSYEAR, QStringLiteral("學年"), &typed)) return;
        const int n = TrimBlanks(typed).toInt();
        QStringList items{QStringLiteral("師培")};
        for (int year = n; year > n - 3; --year) {
            for (const QString& group : {QStringLiteral("甲"), QStringLiteral("乙"), QStringLiteral("丙")})
                items << QString::number(year) + group;
        }
        items << QStringLiteral("學一") << QStringLiteral("學二") << QStringLiteral("學三")
              << QStringLiteral("學四");
        cbWORK_PLACE->clear();
        cbWORK_PLACE->addItems(items);
        cbWORK_PLACE->setCurrentIndex(0);
        return;
    }
    const TNodedata* node = ComboNodeData(cbCLASSTYPE, cbCLASSTYPE->currentIndex());
    if (!node) return;
    const bool fromDatabase = FCurrentSubject->FOrigin == TRULE_SUBJECT::FromDatabase;
    const QString remembered = cbWORK_PLACE->currentText();
    const bool evening = IsEveningClass(node->s1_class);
    QStringList items;
    if (node->d_type == QLatin1String("M")) {
        items << (evening ? QStringLiteral("碩專") : QStringLiteral("碩士"));
    } else if (node->d_type == QLatin1String("P")) {
        items << QStringLiteral("博士");
    } else if (node->d_type == QLatin1String("B")) {
        const QString prefix = evening ? QStringLiteral("夜") : QStringLiteral("學");
        for (const QString& grade :
             {QStringLiteral("一"), QStringLiteral("二"), QStringLiteral("三"), QStringLiteral("四")})
            items << prefix + grade;
    }
    cbWORK_PLACE->clear();
    cbWORK_PLACE->addItems(items);
    // An offering from the database keeps its level when the new class still offers it.
    cbWORK_PLACE->setCurrentIndex(fromDatabase ? int(items.indexOf(remembered)) : (items.isEmpty() ? -1 : 0));
}

} // namespace dudodu
