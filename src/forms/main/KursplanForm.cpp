#include "forms/main/KursplanForm.h"

#include "common/Helpers.h"
#include "common/HtmlGrid.h"
#include "model/OfferingRecord.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QPushButton>

namespace dudodu {

TfrmKURSPLAN::TfrmKURSPLAN(TDM& dm, QWidget* parent) : QMainWindow(parent), m_dm(dm) {
    setObjectName(QStringLiteral("frmKURSPLAN"));
    setWindowTitle(QStringLiteral("dudodu"));
    resize(1400, 860);

    createControls();

    FEditSetting = QStringLiteral("讀");
    FIsCurriculumOffice = false;

    connect(btCONNECT, &QPushButton::clicked, this, &TfrmKURSPLAN::btCONNECTClick);
    connect(cbLoginDepID, &QComboBox::activated, this, &TfrmKURSPLAN::cbLoginDepIDChange);
}

TfrmKURSPLAN::~TfrmKURSPLAN() {
    // The editor lets go of its record before the grid frees the row records, so that no freed record
    // is looked at; then the rows go while this window is still whole. (Combo item codes are values
    // and go with their combo boxes.)
    SetCurrentSubject(nullptr);
    ClearCourseGrid();
    disconnect(SG2, nullptr, this, nullptr);
}

void TfrmKURSPLAN::closeEvent(QCloseEvent* event) {
    if (MsgBox(QStringLiteral("確定要結束程式嗎?"), QStringLiteral("訊息"), {TMsgButton::Yes, TMsgButton::No},
               TMsgIcon::Question) == TMsgButton::No) {
        event->ignore();
        return;
    }
    event->accept();
}

QString TfrmKURSPLAN::CurrentDepCode() const {
    return ComboItemCode(cbLoginDepID, cbLoginDepID->currentIndex());
}

bool TfrmKURSPLAN::IsEditLocked() const {
    if (FIsCurriculumOffice) return false;
    return FEditSetting != QStringLiteral("讀寫");
}

bool TfrmKURSPLAN::IsTeacherEduDep() const {
    const QString code = CurrentDepCode();
    return !code.isEmpty() && FTeacherEduDeps.contains(code);
}

bool TfrmKURSPLAN::IsGCGroupDep() const {
    const QString code = CurrentDepCode();
    return !code.isEmpty() && FGCGroup.contains(code);
}

void TfrmKURSPLAN::EnableWorkButtons(bool enabled) {
    btSaveEdit->setEnabled(enabled);
    btClassPlan->setEnabled(enabled);
    cbCLASSTYPE->setEnabled(enabled);
    btAddClass->setEnabled(enabled);
    btPrintSchedule->setEnabled(enabled);
    btPrintTcher->setEnabled(enabled);
}

void TfrmKURSPLAN::SetCurrentSubject(TRULE_SUBJECT* subject) {
    // Only the window's own new blank offering is freed here; whose records are freed is decided by
    // ownership, never by FOrigin, so a record held by a grid row cannot be freed twice.
    if (m_newSubject && m_newSubject.get() != subject) m_newSubject.reset();
    FCurrentSubject = subject;
}

void TfrmKURSPLAN::SetCurrentSubject(std::unique_ptr<TRULE_SUBJECT> subject) {
    SetCurrentSubject(subject.get());
    m_newSubject = std::move(subject);
}

std::unique_ptr<TRULE_SUBJECT> TfrmKURSPLAN::ReleaseNewSubject() {
    return std::move(m_newSubject);
}

TRULE_SUBJECT* TfrmKURSPLAN::RowSubject(int row) const {
    return dynamic_cast<TRULE_SUBJECT*>(SG2->Objects(row));
}

void TfrmKURSPLAN::ClearCourseGrid() {
    for (int row = 1; row < SG2->RowCount(); ++row) {
        if (SG2->Objects(row)) SG2->clearRow(row);
    }
    SG2->setRowCount(2);
}

void TfrmKURSPLAN::SG2ObjectFreeing(TGridObject* object) {
    // The editor must not keep a record its grid row is freeing.
    if (object && object == FCurrentSubject) FCurrentSubject = nullptr;
}

} // namespace dudodu
