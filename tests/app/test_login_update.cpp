// The update window: the updater's settings, the download from a local HTTP server, starting the
// updater and ending the program, whatever happens.
#include "app/UpdateProgForm.h"
#include "common/ScriptedDialogs.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QPushButton>
#include <QSettings>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>

namespace dudodu {
namespace {

// An HTTP server on the loopback address answering GET requests: the updater under /upd/, 404 for
// everything else. A request larger than a few kilobytes is cut off.
class TestHttpServer : public QObject {
  public:
    static constexpr int kMaxRequest = 8192;

    QByteArray body;
    QStringList paths;
    QStringList accepts;
    std::function<void()> onRequest;

    bool listen() {
        connect(&m_server, &QTcpServer::newConnection, this, [this] {
            while (QTcpSocket* socket = m_server.nextPendingConnection()) {
                socket->setParent(this);
                connect(socket, &QTcpSocket::readyRead, this, [this, socket] { serve(socket); });
            }
        });
        return m_server.listen(QHostAddress::LocalHost, 0);
    }
    QString baseUrl() const { return QStringLiteral("http://127.0.0.1:%1/upd/").arg(m_server.serverPort()); }

  private:
    void serve(QTcpSocket* socket) {
        QByteArray& request = m_requests[socket];
        request += socket->readAll();
        if (request.size() > kMaxRequest) {
            socket->abort();
            return;
        }
        const int end = request.indexOf("\r\n\r\n");
        if (end < 0) return;
        const QList<QByteArray> lines = request.left(end).split('\n');
        const QList<QByteArray> first = lines.value(0).trimmed().split(' ');
        const QString path = QString::fromLatin1(first.value(1));
        paths << path;
        for (const QByteArray& line : lines)
            if (line.toLower().startsWith("accept:")) accepts << QString::fromLatin1(line.mid(7).trimmed());
        if (onRequest) onRequest();
        const bool found = path == QLatin1String("/upd/txupdater.exe");
        const QByteArray content = found ? body : QByteArray("not here");
        socket->write((found ? "HTTP/1.1 200 OK\r\n" : "HTTP/1.1 404 Not Found\r\n") +
                      QByteArray("Content-Type: application/octet-stream\r\nContent-Length: ") +
                      QByteArray::number(content.size()) + "\r\nConnection: close\r\n\r\n" + content);
        socket->disconnectFromHost();
    }

    QTcpServer m_server;
    QHash<QTcpSocket*, QByteArray> m_requests;
};

// The updater's settings as this test reads them back.
QStringList RegistryValues() {
    QSettings registry(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("VELM"),
                       QStringLiteral("TXupdater"));
    return {registry.value(QStringLiteral("TX URL")).toString(),
            registry.value(QStringLiteral("local path")).toString(),
            registry.value(QStringLiteral("program name")).toString()};
}

class UpdateTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(configDir.isValid() && programDir.isValid());
        // The user's settings (the registry on Windows) go to the test's own folder.
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, configDir.path());
        ASSERT_TRUE(server.listen());
        server.body = QByteArray(5000, 'x') + QByteArray("MZ-updater");
        window.FProgramPath = QDir(programDir.path()).filePath(QStringLiteral("kursplan_proj.exe"));
        window.EndProgram = [this] { ++ends; };
    }
    QString updaterPath() const { return QDir(programDir.path()).filePath(QStringLiteral("txupdater.exe")); }
    // A port on which nothing listens.
    static quint16 closedPort() {
        QTcpServer probe;
        probe.listen(QHostAddress::LocalHost, 0);
        return probe.serverPort();
    }

    TScopedScriptedDialogs dialogs;
    QTemporaryDir configDir;
    QTemporaryDir programDir;
    TestHttpServer server;
    Tf_update_prog window;
    int ends = 0;
};

TEST_F(UpdateTest, DownloadsTheUpdaterRecordsItsSettingsFirstStartsItAndEnds) {
    struct Case {
        const char* name;
        QString baseUrl; // empty: the test server's updater folder
        bool earlierUpdater;
        QString label;
        bool started;
    };
    const Case cases[] = {
        {"downloaded", {}, false, "Received 5010 bytes, OK !", true},
        {"not found", "/elsewhere/", false, "Failed : 無法讀取！", false},
        {"connection refused", QStringLiteral("http://127.0.0.1:%1/upd/").arg(closedPort()), false,
         "Failed : 無法讀取！", false},
        // A failed download leaves an updater fetched before intact, and that one is started.
        {"not found, earlier updater kept", "/elsewhere/", true, "Failed : 無法讀取！", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QFile::remove(updaterPath());
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope,
                           QDir(configDir.path()).filePath(QLatin1String(c.name)));
        if (c.earlierUpdater) {
            QFile earlier(updaterPath());
            ASSERT_TRUE(earlier.open(QIODevice::WriteOnly));
            earlier.write("earlier updater");
        }
        Tf_update_prog update;
        update.FProgramPath = window.FProgramPath;
        int updateEnds = 0;
        update.EndProgram = [&] { ++updateEnds; };
        update.FBaseUrl = c.baseUrl.isEmpty() ? server.baseUrl()
                          : c.baseUrl.startsWith(QLatin1Char('/'))
                              ? server.baseUrl().replace(QStringLiteral("/upd/"), c.baseUrl)
                              : c.baseUrl;
        QStringList atRequest;
        server.onRequest = [&] { atRequest = RegistryValues(); };
        dialogs->clear();
        const int requests = int(server.paths.size());

        update.bbUPDATEClick();

        const QStringList expected = {update.FBaseUrl, QDir::toNativeSeparators(update.FProgramPath),
                                      QStringLiteral("kursplan_proj.exe")};
        EXPECT_EQ(RegistryValues(), expected);
        if (server.paths.size() > requests) {
            EXPECT_EQ(atRequest, expected); // written before the download
            EXPECT_EQ(server.accepts.last(), QStringLiteral("text/html, */*"));
        }
        EXPECT_EQ(update.lbINFO->text(), c.label);
        EXPECT_TRUE(update.bbUPDATE->isEnabled());
        EXPECT_TRUE(dialogs->shown().isEmpty());
        if (c.started) {
            ASSERT_EQ(dialogs->startedPrograms().size(), 1);
            EXPECT_EQ(dialogs->startedPrograms()[0], QStringList({updaterPath()}));
        } else {
            EXPECT_TRUE(dialogs->startedPrograms().isEmpty());
            EXPECT_FALSE(QFileInfo::exists(updaterPath())); // no empty or partial file left behind
        }
        QFile file(updaterPath());
        if (c.started && file.open(QIODevice::ReadOnly)) {
            EXPECT_EQ(file.readAll(), c.earlierUpdater ? QByteArray("earlier updater") : server.body);
        }
        EXPECT_EQ(updateEnds, 1);
    }
    EXPECT_EQ(server.paths.value(0), QStringLiteral("/upd/txupdater.exe"));
}

TEST_F(UpdateTest, AnUnwritableProgramFolderIsReportedAndTheProgramEnds) {
    // The program's "folder" is a file, so nothing can be written there (whoever runs the test).
    const QString notAFolder = QDir(programDir.path()).filePath(QStringLiteral("bin"));
    QFile blocker(notAFolder);
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    window.FProgramPath = QDir(notAFolder).filePath(QStringLiteral("kursplan_proj.exe"));
    window.FBaseUrl = server.baseUrl();
    window.bbUPDATEClick();

    EXPECT_EQ(window.lbINFO->text(), QStringLiteral("Failed : 無法寫入！"));
    ASSERT_EQ(dialogs->shown().size(), 1);
    EXPECT_TRUE(dialogs->last().message.text.contains(
        QDir::toNativeSeparators(QDir(notAFolder).filePath(QStringLiteral("txupdater.exe")))));
    EXPECT_EQ(dialogs->last().message.caption, QStringLiteral("錯誤"));
    EXPECT_TRUE(server.paths.isEmpty());
    EXPECT_TRUE(dialogs->startedPrograms().isEmpty());
    EXPECT_EQ(RegistryValues().value(2), QStringLiteral("kursplan_proj.exe"));
    EXPECT_EQ(ends, 1);
}

TEST_F(UpdateTest, SettingsThatCannotBeWrittenEndTheProgramWithoutADownload) {
    // A file where the settings folder should be.
    QFile blocker(QDir(configDir.path()).filePath(QStringLiteral("VELM")));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    window.FBaseUrl = server.baseUrl();
    window.bbUPDATEClick();
    ASSERT_EQ(dialogs->shown().size(), 1);
    EXPECT_EQ(dialogs->last().message.text, QStringLiteral("無法建立registry key,更新失敗!"));
    EXPECT_TRUE(server.paths.isEmpty());
    EXPECT_TRUE(dialogs->startedPrograms().isEmpty());
    EXPECT_EQ(ends, 1);
}

TEST_F(UpdateTest, ClosingTheWindowInAnyWayEndsTheProgramOnce) {
    struct Case {
        const char* name;
        std::function<void(Tf_update_prog&)> close;
    };
    const Case cases[] = {
        {"結束程式", [](Tf_update_prog& w) { w.BitBtn2->click(); }},
        {"title bar", [](Tf_update_prog& w) { w.close(); }},
        {"Escape", [](Tf_update_prog& w) { w.reject(); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Tf_update_prog update;
        int updateEnds = 0;
        update.EndProgram = [&] { ++updateEnds; };
        update.show();
        c.close(update);
        EXPECT_FALSE(update.isVisible());
        EXPECT_EQ(updateEnds, 1);
    }
    EXPECT_EQ(window.windowTitle(), QStringLiteral("檔案更新"));
    EXPECT_EQ(window.BitBtn2->text(), QStringLiteral("結束程式"));
    EXPECT_EQ(window.bbUPDATE->text(), QStringLiteral("開始更新"));
    EXPECT_TRUE(window.lbINFO->text().isEmpty());
}

} // namespace
} // namespace dudodu
