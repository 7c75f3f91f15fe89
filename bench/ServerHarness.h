// For the server benchmarks: a demo database, a self-signed certificate and a dudodu-server on a
// free loopback port in its own thread, plus the course-list statement sequence of the largest
// department.
#pragma once

#include "db/TlsConnection.h"
#include "engine/DemoData.h"
#include "engine/Engine.h"
#include "server/Admin.h"
#include "server/Server.h"
#include "server/ServerLog.h"

#include <QCoreApplication>
#include <QDir>
#include <QEventLoop>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>
#include <memory>

namespace dudodu::bench {

class ServerHarness {
  public:
    // Uses the demo database in $DUDODU_BENCH_DB, or creates one at the given scale.
    explicit ServerHarness(double scale = 1.0) : m_log(QString()) {
        folder = qEnvironmentVariable("DUDODU_BENCH_DB");
        QString error;
        if (folder.isEmpty()) {
            folder = m_dir.filePath(QStringLiteral("demo"));
            engine::DemoOptions options;
            options.scale = scale;
            if (!engine::createDemoDatabase(folder, options, &error))
                qFatal("demo database: %s", qPrintable(error));
        }
        certificate = m_dir.filePath(QStringLiteral("server.crt"));
        if (!server::makeSelfSignedCertificate(certificate, m_dir.filePath(QStringLiteral("server.key")), {},
                                               30, &error))
            qFatal("certificate: %s", qPrintable(error));
        server::ServerConfig config;
        config.listen = QHostAddress::LocalHost;
        config.port = 0;
        config.certificateFile = certificate;
        config.keyFile = m_dir.filePath(QStringLiteral("server.key"));
        config.databaseFolder = config.accountsFolder = folder;
        config.maxSessions = 1000;
        m_server = std::make_unique<server::Server>(config, m_log);
        m_server->moveToThread(&m_thread);
        m_thread.start();
        bool ok = false;
        QMetaObject::invokeMethod(
            m_server.get(), [&] { ok = m_server->start(&error); }, Qt::BlockingQueuedConnection);
        if (!ok) qFatal("server: %s", qPrintable(error));
        port = m_server->port();
        loadSequence();
    }
    ~ServerHarness() {
        QMetaObject::invokeMethod(
            m_server.get(), [this] { m_server.reset(); }, Qt::BlockingQueuedConnection);
        m_thread.quit();
        m_thread.wait();
    }

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
    void loadSequence() {
        QString error;
        auto engine = engine::Engine::open(folder, &error);
        if (!engine) qFatal("open: %s", qPrintable(error));
        const engine::BatchResult r =
            engine->execute("select top 1 DEPARTMENT, YEAR, SEMESTER, count(*) from VELM_DBASE..SEMESUBJECT "
                            "group by DEPARTMENT, YEAR, SEMESTER order by count(*) desc");
        if (!r.ok() || r.results.isEmpty() || r.results[0].rows.isEmpty()) qFatal("no offerings");
        const QVariantList row = r.results[0].rows[0];
        department = row[0].toString();
        offerings = row[3].toInt();
        m_list =
            QStringList{
                "SELECT RSUBJ_SERNO,SUBJECT_GROUP, DEPYR_CODE, "
                "SUBJECT_ID,MUST,DEPARTMENT,YEAR,SEMESTER,SUBJ_MODE,LIMIT,"
                "S_NAME,CREDIT,HOUR,LAB,E_NAME,BELONG,BELONG_DEPYR_CODE,WORK_PLACE,NOTE,EP_FIELD,SEME_ENG,"
                "isnull(program_id,-1) as program_id, isnull(SUBJECT_SYSNO,-1) as "
                "SUBJECT_SYSNO,PRE_DEPYRCODE,IsEval,"
                "status, IsExpand, isnull(FromYear,0) as FromYear, isnull(FromDEP,'') as FromDEP, "
                "isnull(salarygroup, 0) "
                "as salarygroup, isnull(evalgroup, 0) as "
                "evalgroup,CRS_DEPYR_CODE,Term_id,TERM,SUBJECT_ID_SEC,rule_rel,"
                "SUBJ_KIND  FROM VELM_DBASE..SEMESUBJECT",
                "where DEPARTMENT='" + department + "'",
                QStringLiteral(" and YEAR=%1 and SEMESTER=%2").arg(row[1].toInt()).arg(row[2].toInt()),
                "ORDER BY SUBSTRING(WORK_PLACE,1,1) DESC,SUBSTRING(WORK_PLACE,2,100),subject_id"}
                .join('\n');
    }

    QTemporaryDir m_dir;
    server::ServerLog m_log;
    QThread m_thread;
    std::unique_ptr<server::Server> m_server;
    QString m_list;
};

} // namespace dudodu::bench
