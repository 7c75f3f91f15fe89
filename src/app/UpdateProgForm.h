// Tf_update_prog: shown when the client is older than the server requires. Records for the updater
// where to fetch the new program and which file it replaces, downloads the updater next to this
// program, starts it and ends this program. Closing the window in any way ends the program.
#pragma once

#include <QDialog>
#include <functional>

class QGroupBox;
class QLabel;
class QPushButton;

namespace dudodu {

class Tf_update_prog : public QDialog {
    Q_OBJECT
  public:
    // The updater's settings: under HKEY_CURRENT_USER\Software\VELM\TXupdater on Windows, the
    // user's settings file of the same organisation and application elsewhere.
    static constexpr char kRegistryOrganization[] = "VELM";
    static constexpr char kRegistryApplication[] = "TXupdater";
    static constexpr char kUpdaterFileName[] = "txupdater.exe";
    static constexpr char kProgramName[] = "kursplan_proj.exe";
    // How long the download may stall before it counts as failed.
    static constexpr int kTransferTimeoutMs = 30000;

    explicit Tf_update_prog(QWidget* parent = nullptr);
    ~Tf_update_prog() override;

    // The update base URL (ending in "/").
    QString FBaseUrl;
    // This program's executable; its folder receives the updater.
    QString FProgramPath;
    // Ends the program without the main window's closing question; tests record the call instead.
    std::function<void()> EndProgram;

    void bbUPDATEClick();
    void BitBtn2Click();

    // --- Controls (objectName = the name here).
    QLabel* lbHEADING;
    QGroupBox* gbINFO;
    QLabel* lbCURRENT; // value beside "目前使用版本"
    QLabel* lbNEW;     // value beside "新版版本"
    QLabel* lbINFO;    // the download result
    QPushButton* bbUPDATE;
    QPushButton* BitBtn2;

  public slots:
    void reject() override;

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    bool writeRegistry();
    // Downloads the updater into localPath; the byte count, or -1 with the reason in error.
    qint64 download(const QString& localPath, QString* error, bool* cannotWrite);
    void endProgram();

    bool m_ending = false;
};

// Ends the program: leaves every event loop, so no window is asked whether it may close.
void EndProgramNow();

} // namespace dudodu
