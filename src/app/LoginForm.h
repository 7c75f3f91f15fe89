// TfrmLOGIN: opens the connection with the typed account, refuses an outdated client (offering the
// update window), works out the user's kind and writes the login state into the main window.
#pragma once

#include <QDialog>
#include <functional>

class QLabel;
class QLineEdit;
class QPushButton;

namespace dudodu {

class TDM;
class TfrmKURSPLAN;
class Tf_update_prog;

class TfrmLOGIN : public QDialog {
    Q_OBJECT
  public:
    // Modal results: Yes when the user may work, No when refused.
    static constexpr int mrYes = 6;
    static constexpr int mrNo = 7;

    TfrmLOGIN(TDM& dm, TfrmKURSPLAN& main, QWidget* parent = nullptr);
    ~TfrmLOGIN() override;

    // Where the update window fetches the updater from (a folder address ending in "/").
    QString FUpdateBaseUrl;
    // Shows the update window modally; tests replace it to drive the window by its handlers.
    std::function<void(Tf_update_prog&)> ShowUpdateWindow;

    // Compares the server's required version with this client's; on an empty or different version
    // the connection is closed and false returned. Appends " Ver." and the version to the caption.
    bool CheckProgramVersion(QString* serverVersion);

    void bbLOGINClick();
    void bbCANCELClick();

    // --- Controls (objectName = the name here).
    QWidget* paBOARD;
    QWidget* paENTRY;
    QLabel* paTITLE;
    QLabel* paOFFICE;
    QLabel* paDEVELOPER;
    QLineEdit* edUSERNAME;
    QLabel* lbMAILDOMAIN;
    QLineEdit* edPASSWORD;
    QPushButton* bbLOGIN;
    QPushButton* bbCANCEL;
    QLabel* paVERSION;

  protected:
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

  private:
    void createControls();
    void centreEntry();
    void offerUpdate(const QString& serverVersion);
    QString configItem(const QString& item);
    void loginCurriculumOffice();
    void loginSystemUser(const QString& designYear, int ident);
    void loginDepartmentAccount(const QString& account);

    TDM& m_dm;
    TfrmKURSPLAN& m_main;
};

} // namespace dudodu
