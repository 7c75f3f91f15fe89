#include "app/PlaceholderWindows.h"

namespace dudodu {

namespace {

// Names the window and keeps it from holding the program open: only the main window's close ends it.
void setUp(QWidget* window, const char* name, const QString& caption, QSize size = {480, 360}) {
    window->setObjectName(QLatin1String(name));
    window->setWindowTitle(caption);
    window->resize(size);
    window->setAttribute(Qt::WA_QuitOnClose, false);
}

} // namespace

TfrmCLASSROOM::TfrmCLASSROOM(QWidget* parent) : QDialog(parent) {
    setUp(this, "frmCLASSROOM", QStringLiteral("上課教室維護"), {800, 454});
}

TfrmTeacher::TfrmTeacher(QWidget* parent) : QDialog(parent) {
    setUp(this, "frmTeacher", QStringLiteral("教師基本資料維護"), {888, 673});
}

TfrmRULE::TfrmRULE(QWidget* parent) : QWidget(parent) {
    setUp(this, "frmRULE", QStringLiteral("課規"));
}

TfrmINSPECTION::TfrmINSPECTION(QWidget* parent) : QWidget(parent) {
    setUp(this, "frmINSPECTION", QStringLiteral("科目檢核"));
}

TfrmBelong::TfrmBelong(QWidget* parent) : QDialog(parent) {
    setUp(this, "frmBelong", QStringLiteral("支援開課系所"), {489, 656});
}

TfrmCrs::TfrmCrs(QWidget* parent) : QDialog(parent) {
    setUp(this, "frmCrs", QStringLiteral("課綱連結對應單位"), {638, 616});
}

TFormfeatures::TFormfeatures(QWidget* parent) : QDialog(parent) {
    setUp(this, "Formfeatures", QStringLiteral("特色課程"));
}

} // namespace dudodu
