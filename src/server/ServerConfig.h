// The configuration of dudodu-server, read from an INI file:
//
//   [server]
//   listen=0.0.0.0            address to listen on (any address when empty)
//   port=443                  0 picks a free port (tests)
//   certificate=server.crt    PEM certificate chain, relative paths from the file's folder
//   key=server.key            PEM private key
//   max_frame_bytes=16777216  largest request a logged-in session may send
//   idle_timeout_s=900        a session without a complete request for this long is closed
//   login_timeout_s=15        a connection that has not logged in by then is closed
//   compress_threshold=8192   replies larger than this are compressed
//   max_sessions=200
//   io_threads=0              threads serving the sessions' sockets; 0 for one per two cores
//   batch_threads=0           threads running logins and batches in arrival order; 0 for one per core
//   log=                      log file; empty for standard error
//
//   [database]
//   backend=embedded          embedded | odbc
//   folder=/var/lib/dudodu    embedded: the folder of the four database files
//   odbc=DRIVER=FreeTDS;SERVER=db.example.edu;PORT=1433;TDS_Version=7.4;UID=...;PWD=...
//   accounts=                 folder whose account store checks logins; defaults to folder
#pragma once

#include <QHostAddress>
#include <QString>
#include <optional>

namespace dudodu::server {

struct ServerConfig {
    enum class Backend { Embedded, Odbc };

    QHostAddress listen = QHostAddress::Any;
    quint16 port = 443;
    QString certificateFile;
    QString keyFile;
    qsizetype maxFrameBytes = 16 * 1024 * 1024;
    int idleTimeoutMs = 15 * 60 * 1000;
    int loginTimeoutMs = 15 * 1000;
    qsizetype compressThreshold = 8 * 1024;
    int maxSessions = 200;
    int ioThreads = 0;
    int batchThreads = 0;
    QString logFile;

    Backend backend = Backend::Embedded;
    QString databaseFolder;
    QString odbcConnection;
    QString accountsFolder;

    // Reads the file; relative paths are taken from its folder. Nothing and the reason when a value
    // is missing or malformed.
    static std::optional<ServerConfig> load(const QString& file, QString* error);
};

} // namespace dudodu::server
