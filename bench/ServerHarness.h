// For the server benchmarks: a demo database, a self-signed certificate and a dudodu-server on a
// free loopback port, plus the course-list statement sequence of the largest department.
//
// The server is the real dudodu-server binary in a child process by default, so that its threads
// and event loops do not share a process with the clients (they still share the machine's cores);
// or a Server object in a thread of this process.
#pragma once

#include "BenchDemo.h"
#include "db/TlsConnection.h"
#include "engine/DemoData.h"
#include "engine/Engine.h"
#include "server/Admin.h"
#include "server/Server.h"
#include "server/ServerLog.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QSettings>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>
#include <memory>
#include <unistd.h>

namespace dudodu::bench {

class ServerHarness {
  public:
    enum class Where { ChildProcess, InProcess };
    struct Options {
        Where where = Where::ChildProcess;
        QString database;     // the database folder; empty: the benchmarks' demo database
        double scale = 1.0;   // of the demo database made when $DUDODU_BENCH_DB is not set
        int ioThreads = 0;    // 0: the server's default
        int batchThreads = 0; // 0: the server's default
        QString serverBinary = QStringLiteral(DUDODU_SERVER_BINARY); // for a child process
    };

    // Uses the database of the options, or the demo database in $DUDODU_BENCH_DB, or creates one.
    ServerHarness() : ServerHarness(Options{}) {}
    explicit ServerHarness(const Options& options) : m_log(QString()) {
        folder = options.database.isEmpty() ? demoFolder(m_dir, options.scale) : options.database;
        QString error;
        certificate = m_dir.filePath(QStringLiteral("server.crt"));
        if (!server::makeSelfSignedCertificate(certificate, m_dir.filePath(QStringLiteral("server.key")), {},
                                               30, &error))
            qFatal("certificate: %s", qPrintable(error));
        if (options.where == Where::ChildProcess)
            startChild(options);
        else
            startInProcess(options);
        loadSequence();
    }
    ~ServerHarness() {
        if (m_child) {
            m_child->terminate(); // SIGTERM: the server ends its sessions and exits
            if (!m_child->waitForFinished(10000)) m_child->kill();
            m_child->waitForFinished(1000);
            return;
        }
        QMetaObject::invokeMethod(
            m_server.get(), [this] { m_server.reset(); }, Qt::BlockingQueuedConnection);
        m_thread.quit();
        m_thread.wait();
    }

    // CPU seconds (user + system) the server has used so far; negative when it shares this process.
    double serverCpuSeconds() const {
        if (!m_child) return -1;
        QFile stat(QStringLiteral("/proc/%1/stat").arg(m_child->processId()));
        if (!stat.open(QIODevice::ReadOnly)) return -1;
        // The fields after the command name (which may hold spaces) start at its closing parenthesis.
        const QByteArray text = stat.readAll();
        const QList<QByteArray> fields = text.mid(text.lastIndexOf(')') + 2).split(' ');
        if (fields.size() < 13) return -1;
        return double(fields[11].toLongLong() + fields[12].toLongLong()) / double(::sysconf(_SC_CLK_TCK));
    }
    bool serverInProcess() const { return !m_child; }

    // A logged-in connection, or nullptr.
    std::unique_ptr<TTlsConnection> connect(const QString& account = QStringLiteral("office")) const {
        auto connection = std::make_unique<TTlsConnection>(QStringLiteral("127.0.0.1"), port, certificate);
        QEventLoop wait;
        QTimer timeout;
        timeout.setSingleShot(true);
        QObject::connect(&timeout, &QTimer::timeout, &wait, &QEventLoop::quit);
        QObject::connect(connection.get(), &TConnection::loginVerdict, &wait, &QEventLoop::quit);
        QObject::connect(connection.get(), &TConnection::activeChanged, &wait, &QEventLoop::quit);
        timeout.start(10000);
        connection->open(account, QStringLiteral("demo1234"));
        while (!connection->isActive() && timeout.isActive() && connection->lastError().isEmpty())
            wait.exec();
        if (!connection->isActive()) return nullptr;
        return connection;
    }

    QString listQuery() const { return m_list; }
    QString teacherQuery(qint64 group) const {
        return QStringLiteral("select a.TCHER_NO, a.TCHER_NAME as t1_name, b.TCHER_CNAME as t2_name from "
                              "VELM_DBASE..SEMETEACHER a left join VELM_DBASE..DN_tcher_mnger b on "
                              "(a.tcher_no=b.tcher_no) where a.SUBJECT_GROUP=%1 order by seq")
            .arg(group);
    }
    QString roomQuery(qint64 group) const {
        return QStringLiteral(
                   "select room_id_no, classroom, weekday, classno, location from VELM_DBASE..SEMECLASSROOM "
                   "where SUBJECT_GROUP=%1 order by room_id_no,weekday,classno")
            .arg(group);
    }

    QString folder;
    QString certificate;
    quint16 port = 0;
    QString department;
    int offerings = 0;

  private:
    void startInProcess(const Options& options) {
        QString error;
        server::ServerConfig config;
        config.listen = QHostAddress::LocalHost;
        config.port = 0;
        config.certificateFile = certificate;
        config.keyFile = m_dir.filePath(QStringLiteral("server.key"));
        config.databaseFolder = config.accountsFolder = folder;
        config.maxSessions = 1000;
        config.ioThreads = options.ioThreads;
        config.batchThreads = options.batchThreads;
        m_server = std::make_unique<server::Server>(config, m_log);
        m_server->moveToThread(&m_thread);
        m_thread.start();
        bool ok = false;
        QMetaObject::invokeMethod(
            m_server.get(), [&] { ok = m_server->start(&error); }, Qt::BlockingQueuedConnection);
        if (!ok) qFatal("server: %s", qPrintable(error));
        port = m_server->port();
    }

    void startChild(const Options& options) {
        const QString configFile = m_dir.filePath(QStringLiteral("server.ini"));
        const QString logFile = m_dir.filePath(QStringLiteral("server.log"));
        {
            QSettings ini(configFile, QSettings::IniFormat);
            ini.setValue(QStringLiteral("server/listen"), QStringLiteral("127.0.0.1"));
            ini.setValue(QStringLiteral("server/port"), 0);
            ini.setValue(QStringLiteral("server/certificate"), certificate);
            ini.setValue(QStringLiteral("server/key"), m_dir.filePath(QStringLiteral("server.key")));
            ini.setValue(QStringLiteral("server/max_sessions"), 1000);
            ini.setValue(QStringLiteral("server/log"), logFile);
            if (options.ioThreads > 0) ini.setValue(QStringLiteral("server/io_threads"), options.ioThreads);
            if (options.batchThreads > 0)
                ini.setValue(QStringLiteral("server/batch_threads"), options.batchThreads);
            ini.setValue(QStringLiteral("database/folder"), folder);
        }
        m_child = std::make_unique<QProcess>();
        m_child->setProcessChannelMode(QProcess::ForwardedChannels);
        m_child->start(options.serverBinary, {QStringLiteral("--config"), configFile});
        if (!m_child->waitForStarted(10000))
            qFatal("cannot start %s: %s", qPrintable(options.serverBinary),
                   qPrintable(m_child->errorString()));
        // The server writes its port into the log once it listens.
        static const QRegularExpression listening(QStringLiteral("listening addr=127\\.0\\.0\\.1:(\\d+)"));
        QElapsedTimer clock;
        clock.start();
        while (port == 0 && clock.elapsed() < 15000 && m_child->state() == QProcess::Running) {
            QFile log(logFile);
            if (log.open(QIODevice::ReadOnly)) {
                const QRegularExpressionMatch match = listening.match(QString::fromUtf8(log.readAll()));
                if (match.hasMatch()) port = quint16(match.captured(1).toUInt());
            }
            if (port == 0) QThread::msleep(20);
        }
        if (port == 0) qFatal("dudodu-server did not start listening (see %s)", qPrintable(logFile));
    }

    void loadSequence() {
        const Department d = largestDepartment(folder);
        department = d.code;
        offerings = d.offerings;
        m_list = bench::listQuery(d);
    }

    QTemporaryDir m_dir;
    server::ServerLog m_log;
    QThread m_thread;
    std::unique_ptr<server::Server> m_server;
    std::unique_ptr<QProcess> m_child;
    QString m_list;
};

} // namespace dudodu::bench
