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

class QCheckBox;
class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;
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

    // --- Handlers.
    // First press: log in and read the design year, semester and edit setting.
    void btCONNECTClick();
    // The selected department changed: its list is not loaded until the next load.
    void cbLoginDepIDChange();

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
    QFrame* paBottom; // bottom bar
    QLabel* p3d;
    QPushButton* btAddClass;
    QPushButton* btSaveEdit;
    QPushButton* btClassPlan;
    QComboBox* cbFROM_CLASSTYPE;
    QCheckBox* cbSaveAs;

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

    TDM& m_dm;
    std::unique_ptr<TRULE_SUBJECT> m_newSubject; // the open new blank offering, when there is one
};

} // namespace dudodu
