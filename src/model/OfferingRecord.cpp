#include "model/OfferingRecord.h"

#include "common/Helpers.h"
#include "common/SqlText.h"
#include "db/DataSet.h"
#include "db/Errors.h"

#include <QComboBox>

namespace dudodu {

// --- TRuleDesg

TRuleDesg::TRuleDesg(TQueryDataSet* query, int subjectSysno, int programId, const QString& preDepyrCode,
                     int subjectGroup)
    : FQuery(query), FSubjectSysno(subjectSysno), FProgramId(programId), FPreDepyrCode(preDepyrCode) {
    if (subjectSysno < 0) {
        FPreSubjects = std::make_unique<TPreSubjList>(query);
        FSpheres = TGC_SPHERE::CreateForOffering(query, subjectGroup);
    } else {
        FPreSubjects = TPreSubjList::CreateFromRule(query, subjectSysno, programId, preDepyrCode);
        FSpheres = TGC_SPHERE::CreateFromRule(query, subjectSysno);
    }
}

std::unique_ptr<TRuleDesg> TRuleDesg::CreateEmpty(TQueryDataSet* query) {
    // Group -1 holds no fields, so the load finds nothing.
    return std::make_unique<TRuleDesg>(query, -1, -1, QString(), -1);
}

// --- TRULE_SUBJECT

QString CreditsText(double credit, double hour, int lab) {
    return QStringLiteral("學分:") + QString::number(credit, 'g', 15) + QStringLiteral("<BR>") +
           QStringLiteral("上課:") + QString::number(hour, 'g', 15) + QStringLiteral("<BR>") +
           QStringLiteral("實驗:") + QString::number(lab);
}

TRULE_SUBJECT::TRULE_SUBJECT(quint8 origin) : FOrigin(origin), FTeachers(std::make_unique<TTeacherList>()) {
    for (auto& list : FClassRooms)
        list = std::make_unique<TCLASSROOMList>();
    FClassRoom1 = FClassRooms[0].get();
    FClassRoom2 = FClassRooms[1].get();
    FClassRoom3 = FClassRooms[2].get();
}

TRULE_SUBJECT::~TRULE_SUBJECT() = default;

std::unique_ptr<TRULE_SUBJECT> TRULE_SUBJECT::CreateBound(quint8 origin, QComboBox* termCombo,
                                                          QComboBox* crsDepyrCombo, QComboBox* classTypeCombo,
                                                          QComboBox* belongCombo, int gridRow,
                                                          THtmlGrid* grid, TQueryDataSet* query) {
    auto record = std::make_unique<TRULE_SUBJECT>(origin);
    record->FTermCombo = termCombo;
    record->FCrsDepyrCombo = crsDepyrCombo;
    record->FClassTypeCombo = classTypeCombo;
    record->FBelongCombo = belongCombo;
    record->FGridRow = gridRow;
    record->FGrid = grid;
    record->FQuery = query;
    return record;
}

bool TRULE_SUBJECT::HasGridRow() const {
    // A row outside the grid counts as unbound, so a stale row number never writes a cell.
    return FGrid != nullptr && FGridRow >= 1 && FGridRow < FGrid->RowCount();
}

void TRULE_SUBJECT::SetCell(int col, const QString& text) {
    if (HasGridRow()) FGrid->setCells(col, FGridRow, text);
}

void TRULE_SUBJECT::SetSubjectGroup(int group) {
    FSubjectGroup = group;
    if (!FQuery) return; // an unbound record has nothing to load with
    LoadTeachers();
    LoadRooms();
}

void TRULE_SUBJECT::LoadTeachers() {
    ForEachRow(
        FQuery,
        QStringLiteral("select a.TCHER_NO, a.TCHER_NAME as t1_name, b.TCHER_CNAME as t2_name from "
                       "VELM_DBASE..SEMETEACHER a left join VELM_DBASE..DN_tcher_mnger b on "
                       "(a.tcher_no=b.tcher_no) where a.SUBJECT_GROUP=") +
            SqlNumber(FSubjectGroup) + QStringLiteral(" order by seq"),
        [this](TQueryDataSet& q) {
            const TField personnel = q.fieldByName(QStringLiteral("t2_name"));
            const QString name = personnel.isNull() ? q.fieldByName(QStringLiteral("t1_name")).asString()
                                                    : personnel.asString();
            FTeachers->append(q.fieldByName(QStringLiteral("tcher_no")).asString() + QLatin1Char('=') + name);
        });
    SetCell(5, JoinValues(*FTeachers, FSeparator));
}

void TRULE_SUBJECT::LoadRooms() {
    int n = 0;
    QString remembered;
    bool first = true;
    ForEachRow(FQuery,
               QStringLiteral("select room_id_no, classroom, weekday, classno, location from "
                              "VELM_DBASE..SEMECLASSROOM where SUBJECT_GROUP=") +
                   SqlNumber(FSubjectGroup) + QStringLiteral(" order by room_id_no,weekday,classno"),
               [&](TQueryDataSet& q) {
                   const QString classroom = q.fieldByName(QStringLiteral("classroom")).asString();
                   const QString item = q.fieldByName(QStringLiteral("weekday")).asString() +
                                        QLatin1Char('=') +
                                        q.fieldByName(QStringLiteral("classno")).asString();
                   // The first row always opens list 1, even with an empty room name.
                   if (first || classroom != remembered) {
                       first = false;
                       remembered = classroom;
                       ++n;
                       // The record holds three rooms; rows of a fourth or later room are ignored.
                       if (n > int(FClassRooms.size())) return;
                       TCLASSROOMList& list = *FClassRooms[n - 1];
                       list.FRoomIdNo = q.fieldByName(QStringLiteral("room_id_no")).asInteger();
                       list.FRoomName = TrimBlanks(classroom);
                       list.append(item);
                       list.FLocation = q.fieldByName(QStringLiteral("location")).asInteger();
                   } else if (n <= int(FClassRooms.size())) {
                       FClassRooms[n - 1]->append(item);
                   }
               });
    SetCell(6, ClassRoomsText());
}

void TRULE_SUBJECT::SetSubjectId(const QString& value) {
    FSubjectId = value;
    SetCell(0, value);
}

void TRULE_SUBJECT::SetSName(const QString& value) {
    FSName = value;
    SetCell(1, value);
}

void TRULE_SUBJECT::SetEName(const QString& value) {
    FEName = value;
    SetCell(2, value);
}

void TRULE_SUBJECT::SelectComboCode(QComboBox* combo, const QString& value, int col) {
    combo->setCurrentIndex(-1);
    for (int i = 0; i < combo->count(); ++i) {
        if (ComboItemCode(combo, i) == value) {
            combo->setCurrentIndex(i);
            break;
        }
    }
    SetCell(col, combo->currentIndex() < 0 ? QString() : combo->currentText());
}

void TRULE_SUBJECT::SetDepyrCode(const QString& value) {
    FDepyrCode = value;
    if (HasGridRow() && FClassTypeCombo) SelectComboCode(FClassTypeCombo, value, 3);
}

void TRULE_SUBJECT::SetCrsDepyrCode(const QString& value) {
    FCrsDepyrCode = value;
    if (FCrsDepyrCombo) SelectComboCode(FCrsDepyrCombo, value, 21);
}

void TRULE_SUBJECT::SetTerm(const QString& value) {
    FTerm = value;
    if (TermIsOther() && FTermCombo) SelectComboCode(FTermCombo, value, 23);
}

void TRULE_SUBJECT::SetBelongDepyrCode(const QString& value) {
    FBelongDepyrCode = value;
    if (FBelongCombo) {
        for (int i = 0; i < FBelongCombo->count(); ++i) {
            if (ComboItemCode(FBelongCombo, i) == value) {
                SetCell(20, FBelongCombo->itemText(i));
                return;
            }
        }
    } else {
        SetCell(20, value);
    }
}

void TRULE_SUBJECT::SetMust(const QString& value) {
    FMust = value;
    SetCell(4, value);
}

void TRULE_SUBJECT::WriteCreditsCell() {
    SetCell(7, CreditsText(FCredit, FHour, FLab));
}

void TRULE_SUBJECT::SetCredit(double value) {
    FCredit = value;
    WriteCreditsCell();
}

void TRULE_SUBJECT::SetHour(double value) {
    FHour = value;
    WriteCreditsCell();
}

void TRULE_SUBJECT::SetLab(int value) {
    FLab = value;
    WriteCreditsCell();
}

void TRULE_SUBJECT::SetSubjMode(const QString& value) {
    bool ok = false;
    value.toInt(&ok);
    FSubjMode = ok ? value : QStringLiteral("0");
    SetCell(8, FSubjMode);
}

void TRULE_SUBJECT::SetLimit(int value) {
    FLimit = FSubjMode == QStringLiteral("0") ? 999 : value;
    SetCell(9, QString::number(value));
}

void TRULE_SUBJECT::SetWorkPlace(const QString& value) {
    FWorkPlace = value;
    SetCell(10, value);
}

void TRULE_SUBJECT::SetSemeEng(int value) {
    FSemeEng = value;
    SetCell(11, value == 1 ? QStringLiteral("是") : QStringLiteral("否"));
}

void TRULE_SUBJECT::SetIsEval(int value) {
    FIsEval = value;
    SetCell(12, value == 1 ? QStringLiteral("是") : QStringLiteral("否"));
}

void TRULE_SUBJECT::SetStatus(quint8 value) {
    FStatus = value;
    SetCell(13, StatusToText(value));
}

void TRULE_SUBJECT::SetNote(const QString& value) {
    FNote = value;
    SetCell(14, value);
}

void TRULE_SUBJECT::SetRuleDesg(std::unique_ptr<TRuleDesg> desg) {
    FRuleDesg = std::move(desg);
    if (!HasGridRow() || !FRuleDesg) return;
    if (!IsFromRule()) {
        FRuleDesg->FSpheres->LoadFromOffering(FSubjectGroup);
        FRuleDesg->FPreSubjects->LoadFromOffering(FSubjectGroup);
    }
    SetCell(16, FRuleDesg->FSpheres->JoinBR());
    const TPreSubjList& pre = *FRuleDesg->FPreSubjects;
    for (int i = 0; i < pre.Count(); ++i)
        SetCell(15, i == 0 ? pre.at(0) : FGrid->Cells(15, FGridRow) + FSeparator + pre.at(i));
}

void TRULE_SUBJECT::SetEpField(const QString& value) {
    FEpField = value;
    SetCell(17, value);
}

void TRULE_SUBJECT::SetEvalGroup(int value) {
    FEvalGroup = value;
    SetCell(18, QString::number(value));
}

void TRULE_SUBJECT::SetSalaryGroup(int value) {
    FSalaryGroup = value;
    SetCell(19, QString::number(value));
}

void TRULE_SUBJECT::SetTermId(const QString& value) {
    FTermId = value;
    SetCell(22, value);
}

bool TRULE_SUBJECT::IsFromRule() const {
    // Without a link there is no curriculum subject to speak of.
    if (!FRuleDesg) return false;
    return FRuleDesg->FSubjectSysno != -1;
}

int TRULE_SUBJECT::SubjectSysno() {
    if (FRuleDesg) FSubjectSysnoCache = FRuleDesg->FSubjectSysno;
    return FSubjectSysnoCache;
}

TPreSubjList& TRULE_SUBJECT::PreSubjects() const {
    if (!FRuleDesg) throw TAppError(QStringLiteral("尚未載入先修科目資料！"));
    return *FRuleDesg->FPreSubjects;
}

TGC_SPHERE& TRULE_SUBJECT::Spheres() const {
    if (!FRuleDesg) throw TAppError(QStringLiteral("尚未載入通識領域資料！"));
    return *FRuleDesg->FSpheres;
}

QString TRULE_SUBJECT::ClassRoomsText() const {
    QString text;
    for (const auto& list : FClassRooms)
        text += list->FormatSlots(FSeparator);
    return text;
}

QString TRULE_SUBJECT::GroupText() const {
    return QString::number(FYear) + QString::number(FSemester) + FTeachers->TeacherKey() +
           SlotSignature(*FClassRoom1) + SlotSignature(*FClassRoom2) + SlotSignature(*FClassRoom3);
}

void TRULE_SUBJECT::UpdateStatus(const QString& statusText) {
    const int code = TextToStatus(statusText);
    try {
        if (!FQuery) throw TDBError(QStringLiteral("No dataset to run the statement on."));
        FQuery->close();
        FQuery->setSQL(QStringLiteral("update VELM_DBASE..SEMESUBJECT set status=") + SqlNumber(code) +
                       QStringLiteral(" where RSUBJ_SERNO=") + SqlNumber(FRsubjSerno));
        FQuery->execSQL();
        SetStatus(quint8(code));
    } catch (const std::exception&) {
        throw TAppError(QStringLiteral("無法更改科目狀態。"));
    }
}

} // namespace dudodu
