#include "app/LoginForm.h"

#include "app/UpdateProgForm.h"
#include "common/Helpers.h"
#include "common/SqlText.h"
#include "db/DataModule.h"
#include "db/Errors.h"
#include "forms/main/KursplanForm.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <cmath>

namespace dudodu {

namespace {

const QString kErrorCaption = QStringLiteral("錯誤");
const QString kMailDomain = QStringLiteral("@dudodu.edu.tw");
const QString kDeveloper = QStringLiteral("系統開發：電子計算機中心");

const QString kCurriculumOffice = QStringLiteral("課務組");
const QString kProgrammer = QStringLiteral("程式設計員");
const QString kSystemUser = QStringLiteral("課務系統使用人員");

template <typename Widget> Widget* named(Widget* widget, const char* name) {
    widget->setObjectName(QLatin1String(name));
    return widget;
}

QLabel* panelLabel(QWidget* parent, const char* name, const QString& text) {
    auto* label = named(new QLabel(text, parent), name);
    label->setAlignment(Qt::AlignCenter);
    label->setFrameShape(QFrame::StyledPanel);
    return label;
}

// Runs sql on query1 and returns the open dataset.
TQueryDataSet& OpenQuery(TDM& dm, const QString& sql) {
    TQueryDataSet& query = dm.query1();
    query.close();
    query.clearSQL();
    query.addSQL(sql);
    query.open();
    return query;
}

} // namespace

TfrmLOGIN::TfrmLOGIN(TDM& dm, TfrmKURSPLAN& main, QWidget* parent)
    : QDialog(parent), ShowUpdateWindow([](Tf_update_prog& window) { window.exec(); }), m_dm(dm),
      m_main(main) {
    setObjectName(QStringLiteral("frmLOGIN"));
    // Minimise and maximise only: the window is left with its own buttons.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowMinMaxButtonsHint);
    setAttribute(Qt::WA_QuitOnClose, false);
    createControls();
    setWindowTitle(TConnection::applicationName() + QStringLiteral(" Login to:") +
                   m_dm.DBCON().serverAddress());
}

TfrmLOGIN::~TfrmLOGIN() = default;

void TfrmLOGIN::createControls() {
    resize(620, 420);
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    paBOARD = named(new QWidget(this), "paBOARD");
    outer->addWidget(paBOARD);

    // The entry box keeps its design size and is placed in the middle of the board by centreEntry.
    paENTRY = named(new QFrame(paBOARD), "paENTRY");
    static_cast<QFrame*>(paENTRY)->setFrameShape(QFrame::Panel);
    static_cast<QFrame*>(paENTRY)->setFrameShadow(QFrame::Raised);
    paENTRY->setFixedSize(420, 300);

    paTITLE = panelLabel(paENTRY, "paTITLE", QStringLiteral("開課管理系統"));
    QFont titleFont = paTITLE->font();
    titleFont.setPointSize(titleFont.pointSize() + 8);
    titleFont.setBold(true);
    paTITLE->setFont(titleFont);
    paOFFICE = panelLabel(paENTRY, "paOFFICE", QStringLiteral("業管單位：教務處課務組"));
    paDEVELOPER = panelLabel(paENTRY, "paDEVELOPER", kDeveloper);

    edUSERNAME = named(new QLineEdit(paENTRY), "edUSERNAME");
    edUSERNAME->setMaxLength(20);
    lbMAILDOMAIN = named(new QLabel(kMailDomain, paENTRY), "lbMAILDOMAIN");
    edPASSWORD = named(new QLineEdit(paENTRY), "edPASSWORD");
    edPASSWORD->setMaxLength(20);
    edPASSWORD->setEchoMode(QLineEdit::Password);

    auto* fields = new QGridLayout;
    fields->addWidget(new QLabel(QStringLiteral("帳號"), paENTRY), 0, 0);
    fields->addWidget(edUSERNAME, 0, 1);
    fields->addWidget(lbMAILDOMAIN, 0, 2);
    fields->addWidget(new QLabel(QStringLiteral("密碼"), paENTRY), 1, 0);
    fields->addWidget(edPASSWORD, 1, 1);

    bbLOGIN = named(new QPushButton(QStringLiteral("登錄"), paENTRY), "bbLOGIN");
    bbLOGIN->setDefault(true);
    bbCANCEL = named(new QPushButton(QStringLiteral("離開"), paENTRY), "bbCANCEL");
    bbCANCEL->setAutoDefault(false);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(bbLOGIN);
    buttons->addWidget(bbCANCEL);
    buttons->addStretch();

    paVERSION = panelLabel(paENTRY, "paVERSION", QString());

    auto* entry = new QVBoxLayout(paENTRY);
    entry->addWidget(paTITLE);
    entry->addWidget(paOFFICE);
    entry->addStretch();
    entry->addLayout(fields);
    entry->addLayout(buttons);
    entry->addStretch();
    entry->addWidget(paDEVELOPER);
    entry->addWidget(paVERSION);

    connect(bbLOGIN, &QPushButton::clicked, this, &TfrmLOGIN::bbLOGINClick);
    connect(bbCANCEL, &QPushButton::clicked, this, &TfrmLOGIN::bbCANCELClick);
}

void TfrmLOGIN::centreEntry() {
    const auto centre = [](int outer, int inner) { return int(std::ceil((outer - inner) / 2.0)); };
    paENTRY->move(centre(paBOARD->width(), paENTRY->width()), centre(paBOARD->height(), paENTRY->height()));
}

void TfrmLOGIN::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    centreEntry();
    edUSERNAME->clear();
    edPASSWORD->clear();
    if (edUSERNAME->isEnabled() && edUSERNAME->isVisible()) edUSERNAME->setFocus();
    paVERSION->setText(TConnection::applicationVersion());
}

void TfrmLOGIN::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    centreEntry();
}

QString TfrmLOGIN::configItem(const QString& item) {
    TQueryDataSet& query = OpenQuery(
        m_dm, QStringLiteral("SELECT ITEM_VALUE FROM VELM_DBASE..SUBJSELE_CONFIG WHERE ITEM_NAME=") +
                  SqlQuote(item));
    const QString value = query.field(0).asString();
    query.close();
    return value;
}

bool TfrmLOGIN::CheckProgramVersion(QString* serverVersion) {
    *serverVersion = configItem(QStringLiteral("課程表程式版本"));
    if (serverVersion->isEmpty()) {
        MsgBox(QStringLiteral("資料庫存取有問題 !"), kErrorCaption);
        m_dm.DBCON().close();
        return false;
    }
    setWindowTitle(windowTitle() + QStringLiteral(" Ver.") + TConnection::applicationVersion());
    if (*serverVersion != TConnection::applicationVersion()) {
        m_dm.DBCON().close();
        return false;
    }
    return true;
}

void TfrmLOGIN::offerUpdate(const QString& serverVersion) {
    MsgBox(QStringLiteral("版本不符，請更新版本。"), kErrorCaption);
    hide();
    Tf_update_prog update;
    update.FBaseUrl = FUpdateBaseUrl;
    update.lbCURRENT->setText(TConnection::applicationVersion());
    update.lbNEW->setText(serverVersion);
    if (ShowUpdateWindow) ShowUpdateWindow(update);
}

void TfrmLOGIN::bbLOGINClick() {
    const QString account = edUSERNAME->text();
    if (account.isEmpty()) {
        ShowMessage(QStringLiteral("請輸入帳號。"));
        return;
    }
    if (!m_dm.Connect(account, edPASSWORD->text())) {
        MsgBox(QStringLiteral("帳號或密碼有誤，請再試一次！！"), kErrorCaption);
        done(mrNo);
        return;
    }
    QString serverVersion;
    if (!CheckProgramVersion(&serverVersion)) {
        // An empty version item was reported by the check; only a different version offers the
        // update.
        if (!serverVersion.isEmpty()) offerUpdate(serverVersion);
        m_dm.DBCON().close();
        done(mrNo);
        return;
    }

    const QString designYear = configItem(QStringLiteral("課程設計學年"));
    TQueryDataSet& user = OpenQuery(
        m_dm, QStringLiteral("select ident from VELMCC_DB..user_data where u_id=") + SqlQuote(account));
    const int ident = user.recordCount() > 0 ? user.fieldByName(QStringLiteral("ident")).asInteger() : 0;
    user.close();

    TQueryDataSet& roles =
        OpenQuery(m_dm, QStringLiteral("exec VELMCC_DB..velm_role_query 0,") + SqlNumber(ident));
    const QString role =
        roles.recordCount() > 0 ? roles.fieldByName(QStringLiteral("role_name")).asString() : QString();
    roles.close();
    m_main.FIsCurriculumOffice = false;

    if (role == kCurriculumOffice || role == kProgrammer || role == kSystemUser) {
        m_main.FIsCurriculumOffice = role != kSystemUser;
        m_main.FLoginUserId = account;
        if (m_main.FIsCurriculumOffice)
            loginCurriculumOffice();
        else
            loginSystemUser(designYear, ident);
    } else {
        loginDepartmentAccount(account);
    }
}

void TfrmLOGIN::loginCurriculumOffice() {
    LoadComboFromSQL(
        m_main.cbLoginDepID, m_dm.query1(),
        QStringLiteral("SELECT CLASS_ID+':'+NAME,CLASS_ID FROM VELM_DBASE..SUB_CLASS where DEP_LEVEL "
                       "in (10,11,20,21) ORDER BY CLASS_ID"));
    m_main.cbLoginDepID->setCurrentIndex(m_main.cbLoginDepID->count() > 0 ? 0 : -1);
    m_main.edDEP_ID->setText(m_main.CurrentDepCode());
    m_main.cbLoginDepID->setEnabled(true);
    done(mrYes);
}

void TfrmLOGIN::loginSystemUser(const QString& designYear, int ident) {
    bool isNumber = false;
    const int year = designYear.toInt(&isNumber);
    if (!isNumber) throw TAppError(QStringLiteral("課程設計學年設定有誤: ") + designYear);
    TQueryDataSet& grants = OpenQuery(m_dm, QStringLiteral("exec velmcc_db..velm_role_depyear 0,") +
                                                SqlNumber(year) + QLatin1Char(',') + SqlNumber(ident));
    if (grants.recordCount() == 0) {
        grants.close();
        MsgBox(QStringLiteral("無使用開課程式之權限。"), kErrorCaption);
        m_dm.DBCON().close();
        done(mrNo);
        return;
    }
    QString list;
    for (grants.first(); !grants.eof(); grants.next()) {
        const QString code = grants.fieldByName(QStringLiteral("dep_code")).asString();
        // The teacher-education centre is no department of its own; a code already in the list
        // is not repeated.
        if (code == QLatin1String("TC__") || list.contains(code)) continue;
        if (!list.isEmpty()) list += QLatin1Char(',');
        list += SqlQuote(code);
    }
    grants.close();
    m_main.FEditableDeps = list;
    LoadComboFromSQL(
        m_main.cbLoginDepID, m_dm.query1(),
        QStringLiteral("SELECT CLASS_ID+':'+NAME,CLASS_ID FROM VELM_DBASE..SUB_CLASS  where DEP_LEVEL "
                       "in (10,11,20,21) and CLASS_ID in (") +
            list + QStringLiteral(")") + QStringLiteral(" ORDER BY CLASS_ID"));
    m_main.cbLoginDepID->setCurrentIndex(m_main.cbLoginDepID->count() > 0 ? 0 : -1);
    m_main.cbLoginDepIDChange();
    done(mrYes);
}

void TfrmLOGIN::loginDepartmentAccount(const QString& account) {
    LoadComboFromSQL(
        m_main.cbLoginDepID, m_dm.query1(),
        QStringLiteral("SELECT CLASS_ID+':'+NAME,CLASS_ID FROM VELM_DBASE..SUB_CLASS where DEP_LEVEL "
                       "in (10,11,20) ORDER BY CLASS_ID"));
    m_main.FIsCurriculumOffice = false;
    m_main.cbLoginDepID->setEnabled(false);

    TQueryDataSet& department = OpenQuery(
        m_dm, QStringLiteral("select CLASS_ID, LOCATION from VELM_DBASE..sub_class where CLASS_ID=") +
                  SqlQuote(account));
    const bool exists = department.recordCount() > 0;
    department.close();
    if (!exists) {
        MsgBox(QStringLiteral("無權限，請再試一次！"), kErrorCaption);
        m_dm.DBCON().close();
        done(mrNo);
        return;
    }
    m_main.FLoginUserId = account;
    m_main.edDEP_ID->setText(account);
    for (int i = 0; i < m_main.cbLoginDepID->count(); ++i) {
        if (ComboItemCode(m_main.cbLoginDepID, i) == account) {
            m_main.cbLoginDepID->setCurrentIndex(i);
            done(mrYes);
            return;
        }
    }
    // Known, but not among the departments that work with this program (an institute level).
    m_dm.DBCON().close();
    done(mrNo);
}

void TfrmLOGIN::bbCANCELClick() {
    done(mrNo);
}

} // namespace dudodu
