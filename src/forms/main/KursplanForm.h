// TfrmKURSPLAN, the main course-offering window: the top bar (year, semester, department, connect
// and report buttons), the course grid SG2, the editor below it and the bottom bar. It also holds the
// login state that the other windows read and write.
#pragma once

#include "model/ClassRoomList.h"
#include "model/OfferingLists.h"

#include <QMainWindow>
#include <QStringList>
#include <functional>
#include <memory>

class QBoxLayout;
class QButtonGroup;
class QGroupBox;
class QCheckBox;
class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QSplitter;

namespace dudodu {

class TDM;
class TGridObject;
class THtmlGrid;
class TRULE_SUBJECT;

class TfrmKURSPLAN : public QMainWindow {
    Q_OBJECT
  public:
    static constexpr int kGridColumns = 24;

    explicit TfrmKURSPLAN(TDM& dm, QWidget* parent = nullptr);
    ~TfrmKURSPLAN() override;

    TDM& DM() const { return m_dm; }

    // Shows the login window modally and tells whether the user may work. Set by start-up: the login
    // window writes into this one, so it sits above it and this window only calls it.
    std::function<bool()> ShowLogin;
    // The pickers beside the editor's unit lists; start-up sets how they open (the main window only
    // names which one).
    enum class TPicker { Belong, SyllabusUnit, Features };
    std::function<void(TPicker)> OpenPicker;

    // --- Login state.
    QString FLoginUserId;
    bool FIsCurriculumOffice = false;
    QString FEditableDeps; // 'A___','B___' - an SQL in-list of the departments a system user may edit
    QString FEditSetting;  // "讀寫" unlocks editing for users other than the curriculum office
    QString FDesignYear;
    QString FDesignSemester;
    // The offering open in the editor: a grid row's record, a rule picker's record or the new blank
    // offering the window owns (see SetCurrentSubject). Never owned through this pointer.
    TRULE_SUBJECT* FCurrentSubject = nullptr;
    int FClassScheduleIndex = 0;
    QStringList FTeacherEduDeps; // departments under the teacher-education unit in the year shown
    TGC_GROUP FGCGroup;          // the general-education departments
    // The working room lists of the editor, bound to lbCLASSTIME1..3 once those exist.
    std::unique_ptr<TCLASSROOMList> FTimeList1 = std::make_unique<TCLASSROOMList>();
    std::unique_ptr<TCLASSROOMList> FTimeList2 = std::make_unique<TCLASSROOMList>();
    std::unique_ptr<TCLASSROOMList> FTimeList3 = std::make_unique<TCLASSROOMList>();
    // btCONNECT's tag: 1 while the list of the selected department is loaded.
    int btCONNECTTag = 0;

    // --- Derived tests.
    // The code kept with the selected department; empty when none is selected.
    QString CurrentDepCode() const;
    bool IsEditLocked() const;
    bool IsTeacherEduDep() const;
    bool IsGCGroupDep() const;
    void EnableWorkButtons(bool enabled);

    // Makes a record of a grid row or of the rule picker the offering being edited; the window does
    // not own it. A new blank offering that was open before is freed.
    void SetCurrentSubject(TRULE_SUBJECT* subject);
    // Makes a new blank offering the one being edited; the window owns it until it is replaced or
    // handed on with ReleaseNewSubject.
    void SetCurrentSubject(std::unique_ptr<TRULE_SUBJECT> subject);
    // Hands the open new blank offering on (to a grid row once it is saved); it stays the current one.
    std::unique_ptr<TRULE_SUBJECT> ReleaseNewSubject();

    // The record shown in a grid row, or nullptr.
    TRULE_SUBJECT* RowSubject(int row) const;
    // Frees the row records and leaves the title row and one empty row.
    void ClearCourseGrid();
    // Reloads the grid and the department-dependent lists for the selected department
    // (KursplanCourseList.cpp). A year or semester that is not a number is refused with a message;
    // nothing is sent and the result is false.
    bool LoadCourseList();

    // --- Handlers.
    // First press: log in and read the design year, semester and edit setting.
    void btCONNECTClick();
    // The selected department changed: its list is not loaded until the next load.
    void cbLoginDepIDChange();
    // Year or semester typed: the editing buttons follow the edit lock; the list is not reloaded.
    void edSYEARChange();

    // --- Department-year lists of the editor (KursplanDepYear.cpp). Each refills its combo, whose
    // items own their TNodedata; a year or semester that is not a number is refused with a message
    // and nothing is sent (the loader then returns false and leaves the combo empty).
    bool LoadBelongList();
    bool LoadClassTypeList(); // also copies the items into cbFROM_CLASSTYPE
    bool LoadCrsDepyrList();  // for the syllabus year edcrsyear
    bool LoadTermList();
    // The levels of cbWORK_PLACE for the department and the selected class.
    void cbCLASSTYPEChange();
    // The schedule kind chosen: the normal timetable takes the open offering's rooms, the special
    // kinds one slot of their own; only the curriculum office sets or leaves "校際選課".
    void rgClassScheduleClick();
    // The continued offering may be chosen only while ckTERM is ticked and the offering is a second
    // half (cbTerm_id "2").
    void ckTERMClick();
    void cbTerm_idChange();
    // The syllabus year typed: its units are listed again.
    void edcrsyearKeyUp();
    // ckBELONG clicked by the user: the supported department is chosen afresh and the prerequisites
    // come again from the rule of the own department.
    void ckBELONGClick();
    // A supported department chosen while ckBELONG is ticked: its rule's prerequisites, the note and
    // the syllabus unit follow it.
    void cbBELONGChange();
    int ClassScheduleItemIndex() const; // -1 while no kind is chosen
    void SetClassScheduleItemIndex(int index);

    // --- Controls (objectName = the name here).
    QWidget* MAIN_PANEL;
    QFrame* Panel3; // top bar
    QLineEdit* edSYEAR;
    QLineEdit* edSEME;
    QPushButton* btCONNECT;
    QComboBox* cbLoginDepID;
    QLineEdit* edDEP_ID;
    QPushButton* btPrintSchedule;
    QPushButton* btSaveAsXLS;
    QPushButton* btPrintTcher;
    QPushButton* button6;
    QPushButton* bbADDNEW;
    QPushButton* bbINSPECTION;
    QPushButton* bbwebreport;
    QSplitter* spliter;
    THtmlGrid* SG2;
    QFrame* paContainer; // the editor
    QComboBox* cbCLASSTYPE;
    QComboBox* cbWORK_PLACE;
    QCheckBox* ckBELONG;
    QComboBox* cbBELONG;
    QComboBox* cbCrsDepyr_code;
    QLineEdit* edcrsyear;
    QCheckBox* ckTERM;
    QComboBox* cbTERM;
    QComboBox* cbTerm_id;
    QGroupBox* rgClassSchedule;
    QButtonGroup* rgClassScheduleButtons; // ids 0..4 in the order of the kinds
    QPushButton* bbCLASSROOM1;
    QFrame* paBottom; // bottom bar
    QLabel* p3d;
    QPushButton* btAddClass;
    QPushButton* btSaveEdit;
    QPushButton* btClassPlan;
    QComboBox* cbFROM_CLASSTYPE;
    QCheckBox* cbSaveAs;
    // Editor controls the course list resets and enables by kind of user (KursplanCourseList.cpp).
    QLineEdit* edSUBJECT_ID;
    QLineEdit* edS_NAME;
    QLineEdit* edE_NAME;
    QLineEdit* edSUBJ_MUST;
    QLineEdit* edCREDIT;
    QPushButton* bbEDIT_SUBJ_ID;
    QPushButton* bbMtTeacher;
    QPushButton* bbGC_FIEILD;
    QPushButton* bbBelong;
    QPushButton* BitBtn2;
    QPushButton* BitBtn3;
    QFrame* paSTATUS;
    QComboBox* cbSTATUS;
    QComboBox* cbSALARYID;
    QComboBox* cbEVALID;
    QListWidget* lsGCSPHERE;
    QListWidget* lbTeacher;
    QLineEdit* edNOTE;
    QListWidget* lbPRE_SUBJECT;
    QListWidget* lbCLASSTIME1;
    QListWidget* lbCLASSTIME2;
    QListWidget* lbCLASSTIME3;

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    void createControls();
    void createTopBar();
    void createCourseGrid();
    void createEditor();
    void createBottomBar();
    void SG2ObjectFreeing(TGridObject* object);
    void ConnectPhase();
    void LoadPhase();
    void ReadEditSetting(); // FEditSetting from the configuration table
    void createCourseListControls(QBoxLayout* layout);
    // The editor's fields emptied and its buttons set back before a department is loaded.
    void ResetEditorForLoad();
    // Shows or hides and enables what only the curriculum office may use.
    void ApplyOfficeControls(bool office);
    // Fills one grid row's record from the current row of the offering query.
    void FillRowRecord(int row);
    void createDepYearControls(QBoxLayout* layout);
    void connectDepYearControls(); // once the bottom bar's cbFROM_CLASSTYPE exists
    bool TypedNumber(const QLineEdit* edit, const QString& what, QString* typed);
    // The open offering's prerequisites from its curriculum rule for unit, shown in lbPRE_SUBJECT.
    void ReloadRulePrerequisites(const QString& unit);

    TDM& m_dm;
    std::unique_ptr<TRULE_SUBJECT> m_newSubject; // the open new blank offering, when there is one
};

} // namespace dudodu
