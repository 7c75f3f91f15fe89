// The load phase of btCONNECT and the course list: the selected department's offerings of the year and
// semester, one record per grid row, with the department-dependent lists of the editor.
#include "common/Helpers.h"
#include "common/HtmlGrid.h"
#include "common/SqlText.h"
#include "db/DataModule.h"
#include "forms/main/KursplanForm.h"
#include "model/OfferingRecord.h"
#include "model/StringList.h"

#include <QBoxLayout>
#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressDialog>
#include <QPushButton>

namespace dudodu {

namespace {

const QString kNoticeCaption = QStringLiteral("告知");

QString Text(const TQueryDataSet& query, const char* field) {
    return query.fieldByName(QLatin1String(field)).asString();
}

int Number(const TQueryDataSet& query, const char* field) {
    return query.fieldByName(QLatin1String(field)).asInteger();
}

double Real(const TQueryDataSet& query, const char* field) {
    return query.fieldByName(QLatin1String(field)).asFloat();
}

template <typename Widget> Widget* named(Widget* widget, const char* name) {
    widget->setObjectName(QLatin1String(name));
    return widget;
}

QPushButton* button(QWidget* parent, const char* name, const QString& caption) {
    return named(new QPushButton(caption, parent), name);
}

} // namespace

void TfrmKURSPLAN::createCourseListControls(QBoxLayout* layout) {
    QWidget* parent = layout->parentWidget();
    edSUBJECT_ID = named(new QLineEdit(parent), "edSUBJECT_ID");
    edS_NAME = named(new QLineEdit(parent), "edS_NAME");
    edE_NAME = named(new QLineEdit(parent), "edE_NAME");
    edSUBJ_MUST = named(new QLineEdit(parent), "edSUBJ_MUST");
    edCREDIT = named(new QLineEdit(parent), "edCREDIT");
    bbEDIT_SUBJ_ID = button(parent, "bbEDIT_SUBJ_ID", QStringLiteral("修改科目代碼"));
    bbEDIT_SUBJ_ID->setVisible(false);
    bbMtTeacher = button(parent, "bbMtTeacher", QStringLiteral("教師"));
    bbGC_FIEILD = button(parent, "bbGC_FIEILD", QStringLiteral("通識領域"));
    bbGC_FIEILD->setEnabled(false);
    bbBelong = button(parent, "bbBelong", QStringLiteral("維護"));
    BitBtn2 = button(parent, "BitBtn2", QStringLiteral("維護"));
    BitBtn3 = button(parent, "BitBtn3", QStringLiteral("維護"));
    const std::pair<QPushButton*, TPicker> pickers[] = {
        {bbBelong, TPicker::Belong}, {BitBtn2, TPicker::SyllabusUnit}, {BitBtn3, TPicker::Features}};
    for (const auto& [picker, kind] : pickers)
        connect(picker, &QPushButton::clicked, this, [this, kind = kind] {
            if (OpenPicker) OpenPicker(kind);
        });
    paSTATUS = named(new QFrame(parent), "paSTATUS");
    paSTATUS->setVisible(false);
    cbSTATUS = named(new QComboBox(paSTATUS), "cbSTATUS");
    (new QHBoxLayout(paSTATUS))->addWidget(cbSTATUS);
    cbSALARYID = named(new QComboBox(parent), "cbSALARYID");
    cbEVALID = named(new QComboBox(parent), "cbEVALID");
    lsGCSPHERE = named(new QListWidget(parent), "lsGCSPHERE");
    lsGCSPHERE->setVisible(false); // the sphere list the general-education picker offers
    lbTeacher = named(new QListWidget(parent), "lbTeacher");
    edNOTE = named(new QLineEdit(parent), "edNOTE");
    edNOTE->setMaxLength(100);
    lbPRE_SUBJECT = named(new QListWidget(parent), "lbPRE_SUBJECT");
    lbPRE_SUBJECT->setEnabled(false);
    lbCLASSTIME1 = named(new QListWidget(parent), "lbCLASSTIME1");
    lbCLASSTIME2 = named(new QListWidget(parent), "lbCLASSTIME2");
    lbCLASSTIME3 = named(new QListWidget(parent), "lbCLASSTIME3");
    for (QWidget* widget : std::initializer_list<QWidget*>{
             edSUBJECT_ID, edS_NAME, edE_NAME,      edSUBJ_MUST,  edCREDIT,     bbEDIT_SUBJ_ID, bbMtTeacher,
             bbGC_FIEILD,  bbBelong, BitBtn2,       BitBtn3,      paSTATUS,     cbSALARYID,     cbEVALID,
             lbTeacher,    edNOTE,   lbPRE_SUBJECT, lbCLASSTIME1, lbCLASSTIME2, lbCLASSTIME3})
        layout->addWidget(widget);
    connect(edSYEAR, &QLineEdit::textChanged, this, &TfrmKURSPLAN::edSYEARChange);
    connect(edSEME, &QLineEdit::textChanged, this, &TfrmKURSPLAN::edSYEARChange);
}

void TfrmKURSPLAN::edSYEARChange() {
    const bool editable = !IsEditLocked();
    for (QWidget* widget : std::initializer_list<QWidget*>{btAddClass, btSaveEdit, bbCLASSROOM1, bbMtTeacher})
        widget->setEnabled(editable);
}

void TfrmKURSPLAN::ResetEditorForLoad() {
    for (QLineEdit* edit : {edSUBJ_MUST, edS_NAME, edCREDIT}) {
        edit->setReadOnly(true);
        edit->clear();
    }
    edSUBJECT_ID->clear();
    edE_NAME->clear();
    for (QWidget* widget : std::initializer_list<QWidget*>{btSaveEdit, btAddClass, bbCLASSROOM1, bbMtTeacher,
                                                           btPrintSchedule, btPrintTcher})
        widget->setEnabled(false);
    edDEP_ID->setText(TrimBlanks(edDEP_ID->text()));
    for (QWidget* widget : std::initializer_list<QWidget*>{bbEDIT_SUBJ_ID, paSTATUS, bbADDNEW, cbSaveAs})
        widget->setVisible(false);
    bbMtTeacher->setVisible(true);
    BitBtn3->setEnabled(true);
}

void TfrmKURSPLAN::ApplyOfficeControls(bool office) {
    for (QWidget* widget :
         std::initializer_list<QWidget*>{bbEDIT_SUBJ_ID, bbINSPECTION, paSTATUS, bbADDNEW, cbSaveAs})
        widget->setVisible(office);
    cbSTATUS->clear();
    if (office) {
        cbSTATUS->addItems({QStringLiteral("正常"), QStringLiteral("停開"), QStringLiteral("停選"),
                            QStringLiteral("統一排課"), QStringLiteral("新生選課")});
    } else {
        cbSTATUS->addItems({QStringLiteral("正常"), QStringLiteral("新生選課")});
    }
    cbSTATUS->setCurrentIndex(0);
}

void TfrmKURSPLAN::LoadPhase() {
    if (TrimBlanks(edDEP_ID->text()).isEmpty()) {
        AskBox(QStringLiteral("STOP"), QStringLiteral("請先輸入系所密碼 !"), QStringLiteral("錯誤"));
        return;
    }
    // Refused before anything changes, so that one message tells what is wrong.
    QString typed;
    if (!TypedNumber(edSYEAR, QStringLiteral("學年"), &typed) ||
        !TypedNumber(edSEME, QStringLiteral("學期"), &typed))
        return;
    ResetEditorForLoad();
    LoadComboFromSQL(
        cbSALARYID, m_dm.q_tmp(),
        QStringLiteral("select descrip, salary_id from VELM_DBASE..SEMESALARYGROUP order by salary_id"));
    LoadComboFromSQL(
        cbEVALID, m_dm.q_tmp(),
        QStringLiteral("select descrip, eval_id from VELM_DBASE..SEMEEVALGROUP order by eval_id"));
    LoadBelongList();

    if (FIsCurriculumOffice) {
        AskBox(QStringLiteral("OK"), QStringLiteral("您是以超級密碼進入 !"), kNoticeCaption);
        ApplyOfficeControls(true);
        LoadCourseList();
        btCONNECTTag = 1;
        for (QLineEdit* edit : {edSUBJ_MUST, edS_NAME, edCREDIT})
            edit->setReadOnly(false);
        for (QWidget* widget : std::initializer_list<QWidget*>{
                 btSaveEdit, btAddClass, bbCLASSROOM1, bbMtTeacher, bbGC_FIEILD, btPrintSchedule,
                 btPrintTcher, btSaveAsXLS, btClassPlan, cbCLASSTYPE, bbBelong, BitBtn2, BitBtn3})
            widget->setEnabled(true);
        EnableWorkButtons(true);
        return;
    }

    ApplyOfficeControls(false);
    paSTATUS->setVisible(IsGCGroupDep());
    TQueryDataSet& query = m_dm.query1();
    query.close();
    query.clearSQL();
    query.addSQL(
        QStringLiteral("SELECT NAME,CLASS_ID,COLLEGE,short_name FROM VELM_DBASE..SUB_CLASS WHERE CLASS_ID=") +
        SqlQuote(TrimBlanks(edDEP_ID->text())));
    query.open();
    const bool found = query.recordCount() > 0;
    const QString caption =
        found ? TrimBlanks(Text(query, "COLLEGE")) + QLatin1Char(' ') + TrimBlanks(Text(query, "NAME"))
              : QString();
    query.close();
    if (!found) {
        p3d->clear();
        AskBox(QStringLiteral("STOP"), QStringLiteral("您輸入的密碼是錯的,請重新輸入!"),
               QStringLiteral("密碼錯誤"));
        return;
    }
    paSTATUS->setVisible(true);
    p3d->setText(caption);
    LoadCourseList();
    btCONNECTTag = 1;
    ReadEditSetting();
    edSYEARChange(); // the editing buttons follow the edit lock just read
    for (QWidget* widget : std::initializer_list<QWidget*>{btPrintSchedule, btPrintTcher, btClassPlan,
                                                           cbCLASSTYPE, btSaveAsXLS, bbBelong, BitBtn2})
        widget->setEnabled(true);
}

bool TfrmKURSPLAN::LoadCourseList() {
    // Year and semester go into the statements unquoted, as typed: only digits (with blanks) may pass.
    QString year, semester;
    if (!TypedNumber(edSYEAR, QStringLiteral("學年"), &year) ||
        !TypedNumber(edSEME, QStringLiteral("學期"), &semester))
        return false;
    TQueryDataSet& query = m_dm.query1();

    FTeacherEduDeps.clear();
    ForEachRow(
        &query,
        QStringLiteral("select b.dep_code from ACADEMIC..tbZT_DEPYEAR a join  ACADEMIC..tbZT_DEPYEAR b on "
                       "(a.depyr_id=b.parent) where a.dep_code='TC__' and a.year=") +
            year,
        [this](const TQueryDataSet& row) { FTeacherEduDeps.append(Text(row, "dep_code")); });

    ckTERM->setChecked(false);
    cbTerm_id->setCurrentIndex(-1);
    LoadClassTypeList();
    LoadCrsDepyrList();
    LoadTermList();
    cbCLASSTYPEChange();

    lsGCSPHERE->clear();
    ForEachRow(&query, QStringLiteral("select * from velm_dbase..rule_general_sphere where sphere_flag='T'"),
               [this](const TQueryDataSet& row) {
                   lsGCSPHERE->addItem(Text(row, "sphere_id") + QLatin1Char('=') + Text(row, "sphere_sname"));
               });

    ClearCourseGrid();

    query.close();
    query.clearSQL();
    query.addSQL(
        QStringLiteral("SELECT RSUBJ_SERNO,SUBJECT_GROUP, DEPYR_CODE, "
                       "SUBJECT_ID,MUST,DEPARTMENT,YEAR,SEMESTER,SUBJ_MODE,LIMIT,"
                       "S_NAME,CREDIT,HOUR,LAB,E_NAME,BELONG,BELONG_DEPYR_CODE,WORK_PLACE,NOTE,EP_FIELD,SEME_"
                       "ENG,isnull(program_"
                       "id,-1) as program_id, isnull(SUBJECT_SYSNO,-1) as "
                       "SUBJECT_SYSNO,PRE_DEPYRCODE,IsEval,status, IsExpand, "
                       "isnull(FromYear,0) as FromYear, isnull(FromDEP,'') as FromDEP, isnull(salarygroup, "
                       "0) as salarygroup, "
                       "isnull(evalgroup, 0) as "
                       "evalgroup,CRS_DEPYR_CODE,Term_id,TERM,SUBJECT_ID_SEC,rule_rel,SUBJ_KIND  FROM "
                       "VELM_DBASE..SEMESUBJECT"));
    query.addSQL(QStringLiteral("where DEPARTMENT=") + SqlQuote(CurrentDepCode()));
    query.addSQL(QStringLiteral(" and YEAR=") + year + QStringLiteral(" and SEMESTER=") + semester);
    if (!FIsCurriculumOffice) query.addSQL(QStringLiteral("and status<>") + SqlNumber(1));
    query.addSQL(
        QStringLiteral("ORDER BY SUBSTRING(WORK_PLACE,1,1) DESC,SUBSTRING(WORK_PLACE,2,100),subject_id"));
    query.open();
    const int n = query.recordCount();
    SG2->setRowCount(n >= 1 ? n + 1 : 2);
    if (n == 0) SG2->clearRow(1);
    SG2->autoSizeRow(0);
    SG2->setWordWrap(true);

    // Each row loads its teachers, rooms and curriculum link: a large department takes a while.
    QProgressDialog progress(QStringLiteral("載入科目資料..."), QString(), 0, n, this);
    progress.setWindowTitle(QStringLiteral("載入資料"));
    progress.setMinimumDuration(500);
    progress.setWindowModality(Qt::WindowModal);
    try {
        for (int row = 1; row <= n && !query.eof(); ++row, query.next()) {
            FillRowRecord(row);
            progress.setLabelText(QStringLiteral("載入科目資料 %1 / %2").arg(row).arg(n));
            progress.setValue(row);
        }
    } catch (...) {
        query.close();
        throw;
    }
    query.close();

    edSUBJECT_ID->setText(TrimBlanks(edSUBJECT_ID->text()));
    const QString subjectId = edSUBJECT_ID->text();
    if (!subjectId.isEmpty()) {
        for (int row = 1; row < SG2->RowCount(); ++row) {
            if (RowSubject(row) && SG2->Cells(0, row) == subjectId) {
                SG2->setRow(row);
                break;
            }
        }
    }

    const std::pair<TCLASSROOMList*, QListWidget*> timeLists[] = {
        {FTimeList1.get(), lbCLASSTIME1}, {FTimeList2.get(), lbCLASSTIME2}, {FTimeList3.get(), lbCLASSTIME3}};
    for (const auto& [list, editor] : timeLists) {
        list->clear();
        list->ResetRoom();
        list->SetClassRoomEditor(editor);
    }
    lbTeacher->clear();
    for (QComboBox* combo : {cbCLASSTYPE, cbBELONG, cbTERM, cbCrsDepyr_code})
        combo->setCurrentIndex(-1);
    return true;
}

void TfrmKURSPLAN::FillRowRecord(int row) {
    const TQueryDataSet& query = m_dm.query1();
    auto record = TRULE_SUBJECT::CreateBound(TRULE_SUBJECT::FromDatabase, cbTERM, cbCrsDepyr_code,
                                             cbCLASSTYPE, cbBELONG, row, SG2, &m_dm.q_tmp());
    record->FSeparator = QStringLiteral("<BR>");
    record->SetRsubjSerno(Number(query, "RSUBJ_SERNO"));
    record->SetSubjectGroup(Number(query, "SUBJECT_GROUP"));
    record->SetSubjectId(Text(query, "subject_id"));
    record->FDepartment = Text(query, "department");
    record->SetDepyrCode(Text(query, "depyr_code"));
    record->SetRuleDesg(std::make_unique<TRuleDesg>(&m_dm.q_tmp(), Number(query, "subject_sysno"),
                                                    Number(query, "program_id"), Text(query, "PRE_DEPYRCODE"),
                                                    record->FSubjectGroup));
    record->SetMust(Text(query, "must"));
    record->FYear = Number(query, "year");
    record->FSemester = Number(query, "semester");
    record->SetSubjMode(Text(query, "subj_mode"));
    record->SetLimit(Number(query, "limit"));
    record->SetSName(Text(query, "s_name"));
    record->SetCredit(Real(query, "credit"));
    record->SetHour(Real(query, "hour"));
    record->SetLab(Number(query, "lab"));
    record->SetEName(Text(query, "e_name"));
    record->SetBelong(Text(query, "belong"));
    record->SetBelongDepyrCode(Text(query, "BELONG_DEPYR_CODE"));
    record->SetWorkPlace(Text(query, "work_place"));
    record->SetNote(Text(query, "note"));
    record->SetEpField(Text(query, "ep_field"));
    record->SetSemeEng(Number(query, "seme_eng"));
    record->SetIsEval(Number(query, "IsEval"));
    record->SetStatus(quint8(Number(query, "status")));
    record->FIsExpand = Number(query, "IsExpand");
    record->FFromYear = Number(query, "fromyear");
    record->FFromDep = Text(query, "fromdep");
    record->SetSalaryGroup(Number(query, "salarygroup"));
    record->SetEvalGroup(Number(query, "evalgroup"));
    record->SetCrsDepyrCode(Text(query, "CRS_DEPYR_CODE"));
    record->SetTermId(Text(query, "Term_id"));
    record->SetTerm(Text(query, "Term"));
    record->SetSubjectIdSec(Text(query, "SUBJECT_ID_SEC"));
    record->SetRuleRel(Number(query, "rule_rel"));
    record->SetSubjKind(Text(query, "SUBJ_KIND"));
    SG2->setObject(row, std::move(record));
    SG2->autoSizeRow(row);
}

} // namespace dudodu
