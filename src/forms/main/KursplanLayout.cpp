// The main window's controls as laid out at design time.
#include "forms/main/KursplanForm.h"

#include "common/HtmlGrid.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSplitter>
#include <QVBoxLayout>

namespace dudodu {

namespace {

// Titles of the course grid's columns; "<BR>" breaks a title's line.
const char16_t* const kGridTitles[TfrmKURSPLAN::kGridColumns] = {
    u"科目代碼",
    u"科目名稱",
    u"英文科目名稱",
    u"開課班別",
    u"修別",
    u"授課老師",
    u"上課教室",
    u"學分數",
    u"限修<BR>模式",
    u"限修<BR>人數",
    u"級別",
    u"英文<BR>授課",
    u"評量",
    u"狀態",
    u"備註",
    u"*:先修科目<BR>#:背景科目",
    u"通識領域",
    u"師培課程",
    u"評量題目分類",
    u"鐘點費分類",
    u"被支援<BR>系所",
    u"課綱連結對應單位",
    u"全學年上下連貫之科目",
    u"上學期關聯科目",
};
// Design widths of the first columns; the others keep the default width.
constexpr int kGridWidths[] = {89, 98, 90, 90, 55, 61, 81, 48, 41, 43, 33, 37, 25, 70, 71, 55, 64, 64, 64};
constexpr int kDefaultColumnWidth = 64;

template <typename Widget> Widget* named(Widget* widget, const char* name) {
    widget->setObjectName(QLatin1String(name));
    return widget;
}

QPushButton* button(QWidget* parent, const char* name, const QString& caption, bool enabled = true,
                    bool visible = true) {
    auto* result = named(new QPushButton(caption, parent), name);
    result->setEnabled(enabled);
    result->setVisible(visible);
    return result;
}

QFrame* panel(QWidget* parent, const char* name) {
    auto* result = named(new QFrame(parent), name);
    result->setFrameShape(QFrame::StyledPanel);
    return result;
}

} // namespace

void TfrmKURSPLAN::createTopBar() {
    Panel3 = panel(MAIN_PANEL, "Panel3");
    auto* layout = new QHBoxLayout(Panel3);
    layout->setContentsMargins(6, 4, 6, 4);

    edSYEAR = named(new QLineEdit(QStringLiteral("87"), Panel3), "edSYEAR");
    edSYEAR->setMaxLength(4);
    edSYEAR->setFixedWidth(48);
    edSEME = named(new QLineEdit(QStringLiteral("2"), Panel3), "edSEME");
    edSEME->setMaxLength(1);
    edSEME->setFixedWidth(28);
    btCONNECT = button(Panel3, "btCONNECT", QStringLiteral("連線上網"));
    cbLoginDepID = named(new QComboBox(Panel3), "cbLoginDepID");
    cbLoginDepID->setMinimumWidth(220);
    edDEP_ID = named(new QLineEdit(Panel3), "edDEP_ID");
    edDEP_ID->setVisible(false);
    btPrintSchedule = button(Panel3, "btPrintSchedule", QStringLiteral("列印開課課程表"), false);
    btSaveAsXLS = button(Panel3, "btSaveAsXLS", QStringLiteral("儲存HTML檔"), false);
    btPrintTcher = button(Panel3, "btPrintTcher", QStringLiteral("列印師資專長列表"), false);
    button6 = button(Panel3, "button6", QStringLiteral("結 束 連 線"));
    bbADDNEW = button(Panel3, "bbADDNEW", QStringLiteral("課務組加新課"), true, false);
    bbINSPECTION = button(Panel3, "bbINSPECTION", QStringLiteral("科目檢核"), true, false);
    bbwebreport = button(Panel3, "bbwebreport", QStringLiteral("網頁版列印PDF含科目檢核"));

    layout->addWidget(new QLabel(QStringLiteral("學年"), Panel3));
    layout->addWidget(edSYEAR);
    layout->addWidget(new QLabel(QStringLiteral("學期"), Panel3));
    layout->addWidget(edSEME);
    layout->addWidget(btCONNECT);
    layout->addWidget(new QLabel(QStringLiteral("系所"), Panel3));
    layout->addWidget(cbLoginDepID);
    layout->addWidget(edDEP_ID);
    for (QWidget* widget :
         {btPrintSchedule, btSaveAsXLS, btPrintTcher, button6, bbADDNEW, bbINSPECTION, bbwebreport})
        layout->addWidget(widget);
    layout->addStretch(1);
}

void TfrmKURSPLAN::createCourseGrid() {
    spliter = named(new QSplitter(Qt::Vertical, MAIN_PANEL), "spliter");
    SG2 = named(new THtmlGrid(spliter), "SG2");
    SG2->setToolTip(QStringLiteral("按 [Del] 鍵可刪除該科目. 連點科目兩下可修改該科目."));
    SG2->setDefaultRowHeight(21);
    SG2->setColCount(kGridColumns);
    SG2->setRowCount(2);
    for (int col = 0; col < kGridColumns; ++col) {
        SG2->setColWidths(col, col < int(std::size(kGridWidths)) ? kGridWidths[col] : kDefaultColumnWidth);
        SG2->setCells(col, 0, QString::fromUtf16(kGridTitles[col]));
    }
    SG2->autoSizeRow(0);
    connect(SG2, &THtmlGrid::objectFreeing, this, &TfrmKURSPLAN::SG2ObjectFreeing);
}

void TfrmKURSPLAN::createEditor() {
    paContainer = panel(spliter, "paContainer");
    auto* layout = new QHBoxLayout(paContainer);
    cbCLASSTYPE = named(new QComboBox(paContainer), "cbCLASSTYPE");
    cbCLASSTYPE->setEnabled(false);
    layout->addWidget(cbCLASSTYPE);
    createDepYearControls(layout);
    createCourseListControls(layout);
    layout->addStretch(1);
    paContainer->setVisible(false); // shown when an offering is opened
    spliter->setStretchFactor(0, 1);
}

void TfrmKURSPLAN::createBottomBar() {
    paBottom = panel(MAIN_PANEL, "paBottom");
    auto* layout = new QHBoxLayout(paBottom);
    layout->setContentsMargins(6, 4, 6, 4);
    p3d = named(new QLabel(paBottom), "p3d");
    p3d->setFrameShape(QFrame::Panel);
    p3d->setFrameShadow(QFrame::Sunken);
    p3d->setMinimumWidth(260);
    btAddClass = button(paBottom, "btAddClass", QStringLiteral("進行單科擴班"), false);
    btSaveEdit = button(paBottom, "btSaveEdit", QStringLiteral("儲存[&S]"), false);
    btClassPlan = button(paBottom, "btClassPlan", QStringLiteral("由課規調出資料"), false);
    cbFROM_CLASSTYPE = named(new QComboBox(paBottom), "cbFROM_CLASSTYPE");
    cbFROM_CLASSTYPE->setMinimumWidth(160);
    cbSaveAs = named(new QCheckBox(QStringLiteral("另存新科目"), paBottom), "cbSaveAs");
    cbSaveAs->setVisible(false);

    for (QWidget* widget : std::initializer_list<QWidget*>{p3d, btAddClass, btSaveEdit, btClassPlan,
                                                           cbFROM_CLASSTYPE, cbSaveAs})
        layout->addWidget(widget);
    layout->addStretch(1);
}

void TfrmKURSPLAN::createControls() {
    MAIN_PANEL = named(new QWidget(this), "MAIN_PANEL");
    setCentralWidget(MAIN_PANEL);
    createTopBar();
    createCourseGrid();
    createEditor();
    createBottomBar();
    connectDepYearControls();

    auto* layout = new QVBoxLayout(MAIN_PANEL);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(Panel3);
    layout->addWidget(spliter, 1);
    layout->addWidget(paBottom);
}

} // namespace dudodu
