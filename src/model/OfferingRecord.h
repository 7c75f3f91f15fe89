// The offering record: one offering of a subject in a semester with its teachers, its up to three
// rooms and its link to the curriculum design, as the course grid, the editor and the rule picker
// hold it. A record bound to a grid row writes every value it is given into that row at once.
#pragma once

#include "common/HtmlGrid.h"
#include "model/ClassRoomList.h"
#include "model/OfferingLists.h"

#include <QString>
#include <array>
#include <memory>

class QComboBox;

namespace dudodu {

class TQueryDataSet;

// The curriculum-design link of an offering: curriculum subject, prerequisites, general-education
// fields.
class TRuleDesg {
  public:
    // Subject sysno < 0: no prerequisites and the fields stored with the offering's group; otherwise
    // both lists from the curriculum rule.
    TRuleDesg(TQueryDataSet* query, int subjectSysno, int programId, const QString& preDepyrCode,
              int subjectGroup);
    // No curriculum subject, no prerequisites, no fields.
    static std::unique_ptr<TRuleDesg> CreateEmpty(TQueryDataSet* query);

    TQueryDataSet* FQuery; // not owned
    std::unique_ptr<TPreSubjList> FPreSubjects;
    std::unique_ptr<TGC_SPHERE> FSpheres;
    int FSubjectSysno;
    int FProgramId;
    QString FPreDepyrCode;
};

class TRULE_SUBJECT : public TGridObject {
  public:
    // Where a record comes from (FOrigin).
    enum : quint8 { FromRule = 0, FromDatabase = 1, NewBlank = 2 };

    // An unbound record: no dataset, no grid, no combo boxes.
    explicit TRULE_SUBJECT(quint8 origin);
    // A record shown in row gridRow of grid, running its SQL on query.
    static std::unique_ptr<TRULE_SUBJECT> CreateBound(quint8 origin, QComboBox* termCombo,
                                                      QComboBox* crsDepyrCombo, QComboBox* classTypeCombo,
                                                      QComboBox* belongCombo, int gridRow, THtmlGrid* grid,
                                                      TQueryDataSet* query);
    ~TRULE_SUBJECT() override;

    // --- Setters; a bound record also writes its grid cell.
    void SetRsubjSerno(int value) { FRsubjSerno = value; }
    // Stores the group and loads its teachers and rooms.
    void SetSubjectGroup(int group);
    void SetSubjectId(const QString& value);
    void SetSubjectIdSec(const QString& value) { FSubjectIdSec = value; }
    void SetSName(const QString& value);
    void SetEName(const QString& value);
    void SetDepyrCode(const QString& value);
    void SetMust(const QString& value);
    void SetCredit(double value);
    void SetHour(double value);
    void SetLab(int value);
    void SetSubjMode(const QString& value);
    void SetLimit(int value);
    void SetWorkPlace(const QString& value);
    void SetSemeEng(int value);
    void SetIsEval(int value);
    void SetStatus(quint8 value);
    void SetNote(const QString& value);
    // Takes the link over; a bound record without curriculum subject reloads both lists from its group.
    void SetRuleDesg(std::unique_ptr<TRuleDesg> desg);
    void SetEpField(const QString& value);
    void SetEvalGroup(int value);
    void SetSalaryGroup(int value);
    void SetBelongDepyrCode(const QString& value);
    void SetCrsDepyrCode(const QString& value);
    void SetTermId(const QString& value);
    void SetTerm(const QString& value);
    void SetBelong(const QString& value) { FBelong = value; }
    void SetSubjKind(const QString& value) { FSubjKind = value; }
    void SetRuleRel(int value) { FRuleRel = value; }
    void SetFlagS(const QString& value) { FFlagS = value; }
    void SetFlagU(const QString& value) { FFlagU = value; }
    void SetFlagI(const QString& value) { FFlagI = value; }

    // --- Other operations.
    // True while the record shows itself in a row of a grid.
    bool HasGridRow() const;
    // The record has a curriculum subject (false without a TRuleDesg).
    bool IsFromRule() const;
    // FTerm names another offering than this one.
    bool TermIsOther() const { return FTerm != QString::number(FRsubjSerno); }
    int SubjectSysno();
    // Raise TAppError when the record has no TRuleDesg yet.
    TPreSubjList& PreSubjects() const;
    TGC_SPHERE& Spheres() const;
    // The three rooms as the grid shows them.
    QString ClassRoomsText() const;
    // Year, semester, teachers and rooms run together: the offering's signature.
    QString GroupText() const;
    // Stores a status given as its text; any failure becomes TAppError "無法更改科目狀態。".
    void UpdateStatus(const QString& statusText);

    // InsertOffering and UpdateOffering (the record's persistence) follow in OfferingWrite.cpp.

    // --- Fields.
    int FYear = 0;
    int FSemester = 0;
    int FRsubjSerno = 0;
    int FSubjectGroup = 0;
    QString FDepyrCode;
    quint8 FOrigin;
    QString FSeparator = QStringLiteral("<BR>");
    QString FSubjectId;
    QString FSubjectIdSec;
    QString FSName;
    QString FEName;
    QString FSubjMode;
    int FLimit = 0;
    QString FMust;
    double FCredit = 0;
    int FLab = 0;
    double FHour = 0;
    QString FDepartment;
    std::unique_ptr<TTeacherList> FTeachers;
    std::unique_ptr<TRuleDesg> FRuleDesg;
    int FSubjectSysnoCache = 0;
    std::array<std::unique_ptr<TCLASSROOMList>, 3> FClassRooms;
    TCLASSROOMList* FClassRoom1;
    TCLASSROOMList* FClassRoom2;
    TCLASSROOMList* FClassRoom3;
    QString FBelong;
    QString FBelongDepyrCode;
    QString FSubjKind;
    QString FWorkPlace;
    QString FNote;
    QString FEpField;
    int FSemeEng = 2;
    int FIsEval = 1;
    quint8 FStatus = 2;
    int FIsExpand = 2;
    int FFromYear = 0;
    QString FFromDep;
    int FSalaryGroup = 1;
    int FEvalGroup = 0;
    QString FCrUserId;
    QString FMdUserId;
    QString FCrsDepyrCode;
    QString FTermId = QStringLiteral("0");
    QString FTerm;
    QComboBox* FCrsDepyrCombo = nullptr; // not owned
    int FRuleRel = 0;
    QComboBox* FTermCombo = nullptr;      // not owned
    TQueryDataSet* FQuery = nullptr;      // not owned
    THtmlGrid* FGrid = nullptr;           // not owned
    QComboBox* FClassTypeCombo = nullptr; // not owned
    QComboBox* FBelongCombo = nullptr;    // not owned
    int FGridRow = -1;
    QString FFlagS;
    QString FFlagU;
    QString FFlagI;

  private:
    void SetCell(int col, const QString& text);
    void WriteCreditsCell();
    void LoadTeachers();
    void LoadRooms();
    // Selects the first item of combo whose code is value; writes its text (or empty) into cell col.
    void SelectComboCode(QComboBox* combo, const QString& value, int col);
};

// The credits cell text: "學分:" credits "<BR>上課:" hours "<BR>實驗:" lab.
QString CreditsText(double credit, double hour, int lab);

} // namespace dudodu
