// The connect button's first phase: the login, then the design year, semester and edit setting.
#include "forms/main/KursplanForm.h"

#include "common/Helpers.h"
#include "common/SqlText.h"
#include "db/DataModule.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>

namespace dudodu {

namespace {

const QString kConnectCaption = QStringLiteral("連線上網");
const QString kLoadCaption = QStringLiteral("載入資料");

// One item of the configuration table, read on query1 (closed afterwards).
QString ConfigItem(TDM& dm, const QString& item) {
    TQueryDataSet& query = dm.query1();
    query.close();
    query.clearSQL();
    query.addSQL(QStringLiteral("SELECT ITEM_VALUE FROM VELM_DBASE..SUBJSELE_CONFIG WHERE ITEM_NAME=") +
                 SqlQuote(item));
    query.open();
    const QString value = query.field(0).asString();
    query.close();
    return value;
}

} // namespace

void TfrmKURSPLAN::btCONNECTClick() {
    if (btCONNECT->text() == kConnectCaption)
        ConnectPhase();
    else
        LoadPhase();
}

void TfrmKURSPLAN::ConnectPhase() {
    if (!ShowLogin || !ShowLogin()) {
        EnableWorkButtons(false);
        return;
    }
    btCONNECTTag = 0;
    btCONNECT->setEnabled(false);
    try {
        FDesignYear = ConfigItem(m_dm, QStringLiteral("課程設計學年"));
        FDesignSemester = ConfigItem(m_dm, QStringLiteral("課程設計學期"));
        edSYEAR->setText(FDesignYear);
        edcrsyear->setText(FDesignYear);
        edSEME->setText(FDesignSemester);
        ReadEditSetting();
    } catch (...) {
        // The error reaches the default display; the button must not stay disabled.
        btCONNECT->setEnabled(true);
        throw;
    }
    ClearCourseGrid();
    btCONNECT->setText(kLoadCaption);
    btCONNECT->setEnabled(true);
    EnableWorkButtons(true);
    AskBox(QStringLiteral("OK"),
           QStringLiteral("已連線完成,請輸入系所密碼再按 '") + btCONNECT->text() +
               QStringLiteral("'鍵 取得科目資料 !\r\n\r\n或 按'由課規調出資料'鍵 觀看課規資料!"),
           QStringLiteral("連線完成"));
}

void TfrmKURSPLAN::ReadEditSetting() {
    FEditSetting = ConfigItem(m_dm, QStringLiteral("課程設計資料修改設定"));
}

void TfrmKURSPLAN::cbLoginDepIDChange() {
    btCONNECTTag = 0;
    edDEP_ID->setText(CurrentDepCode());
}

} // namespace dudodu
