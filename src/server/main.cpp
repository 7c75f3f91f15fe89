// dudodu-server: runs the middleware, or one administration command, on a configuration file.
#include "server/Admin.h"
#include "server/Server.h"
#include "server/ServerLog.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QSocketNotifier>
#include <csignal>
#include <cstdio>
#include <iostream>
#include <string>
#include <sys/socket.h>
#include <termios.h>
#include <unistd.h>

using namespace dudodu::server;

namespace {

int signalPipe[2] = {-1, -1};

void onSignal(int) {
    const char byte = 1;
    [[maybe_unused]] const auto written = ::write(signalPipe[1], &byte, 1);
}

// Reads a password from standard input, without echo when it is a terminal.
QString readPassword(const QString& prompt) {
    const bool terminal = ::isatty(STDIN_FILENO);
    termios saved{};
    if (terminal) {
        std::fprintf(stderr, "%s", qPrintable(prompt));
        ::tcgetattr(STDIN_FILENO, &saved);
        termios quiet = saved;
        quiet.c_lflag &= ~tcflag_t(ECHO);
        ::tcsetattr(STDIN_FILENO, TCSANOW, &quiet);
    }
    std::string line;
    std::getline(std::cin, line);
    if (terminal) {
        ::tcsetattr(STDIN_FILENO, TCSANOW, &saved);
        std::fprintf(stderr, "\n");
    }
    return QString::fromStdString(line);
}

int fail(const QString& text) {
    std::fprintf(stderr, "dudodu-server: %s\n", qPrintable(text));
    return 1;
}

} // namespace

int main(int argc, char* argv[]) {
    // A server needs no GLib main loop; Qt's own event dispatcher costs less per socket event.
    if (!qEnvironmentVariableIsSet("QT_NO_GLIB")) qputenv("QT_NO_GLIB", "1");
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("dudodu-server"));
    QCoreApplication::setApplicationVersion(QStringLiteral(DUDODU_VERSION));
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("The dudodu middleware: TLS sessions that log in with an account and run SQL batches "
                       "on the database.\n"
                       "Passwords for the account commands are read from standard input."));
    parser.addHelpOption();
    parser.addVersionOption();
    const QCommandLineOption configOption(QStringLiteral("config"), QStringLiteral("The configuration file."),
                                          QStringLiteral("FILE"));
    const QCommandLineOption certOption(
        QStringLiteral("make-certificate"),
        QStringLiteral("Write a self-signed certificate and key to the files the "
                       "configuration names (a test installation)."));
    const QCommandLineOption hostOption(
        QStringLiteral("host"), QStringLiteral("A host name or address the certificate is for (repeatable)."),
        QStringLiteral("NAME"));
    const QCommandLineOption daysOption(QStringLiteral("days"),
                                        QStringLiteral("Validity of the certificate."), QStringLiteral("N"),
                                        QStringLiteral("825"));
    const QCommandLineOption addOption(QStringLiteral("add-account"), QStringLiteral("Add an account."),
                                       QStringLiteral("NAME"));
    const QCommandLineOption resetOption(QStringLiteral("reset-password"),
                                         QStringLiteral("Set a new password for an account."),
                                         QStringLiteral("NAME"));
    const QCommandLineOption disableOption(QStringLiteral("disable-account"),
                                           QStringLiteral("Disable an account."), QStringLiteral("NAME"));
    const QCommandLineOption enableOption(QStringLiteral("enable-account"),
                                          QStringLiteral("Enable a disabled account."),
                                          QStringLiteral("NAME"));
    parser.addOptions({configOption, certOption, hostOption, daysOption, addOption, resetOption,
                       disableOption, enableOption});
    parser.process(app);

    if (!parser.isSet(configOption)) return fail(QStringLiteral("--config FILE is required (see --help)."));
    QString error;
    const auto config = ServerConfig::load(parser.value(configOption), &error);
    if (!config) return fail(error);

    if (parser.isSet(certOption)) {
        bool ok = false;
        const int days = parser.value(daysOption).toInt(&ok);
        if (!ok || days < 1) return fail(QStringLiteral("--days needs a positive number."));
        if (!makeSelfSignedCertificate(config->certificateFile, config->keyFile, parser.values(hostOption),
                                       days, &error))
            return fail(error);
        std::printf("Wrote %s and %s. Clients trust it with tls://HOST:PORT?ca=%s\n",
                    qPrintable(config->certificateFile), qPrintable(config->keyFile),
                    qPrintable(config->certificateFile));
        return 0;
    }
    const std::pair<const QCommandLineOption*, AccountCommand> accountCommands[] = {
        {&addOption, AccountCommand::Add},
        {&resetOption, AccountCommand::ResetPassword},
        {&disableOption, AccountCommand::Disable},
        {&enableOption, AccountCommand::Enable}};
    for (const auto& [option, command] : accountCommands) {
        if (!parser.isSet(*option)) continue;
        const QString account = parser.value(*option);
        QString password;
        if (command == AccountCommand::Add || command == AccountCommand::ResetPassword)
            password = readPassword(QStringLiteral("Password for %1: ").arg(account));
        if (!runAccountCommand(config->accountsFolder, command, account, password, &error))
            return fail(error);
        std::printf("Done: %s %s\n", qPrintable(option->names().first()), qPrintable(account));
        return 0;
    }

    ServerLog log(config->logFile);
    if (!log.isOpen()) return fail(QStringLiteral("Cannot open the log file %1.").arg(config->logFile));
    Server server(*config, log);
    if (!server.start(&error)) return fail(error);

    // SIGINT/SIGTERM end the sessions cleanly through the event loop.
    if (::socketpair(AF_UNIX, SOCK_STREAM, 0, signalPipe) != 0)
        return fail(QStringLiteral("socketpair failed"));
    QSocketNotifier notifier(signalPipe[0], QSocketNotifier::Read);
    QObject::connect(&notifier, &QSocketNotifier::activated, &app, [&] {
        char byte;
        [[maybe_unused]] const auto got = ::read(signalPipe[0], &byte, 1);
        QCoreApplication::quit();
    });
    std::signal(SIGINT, onSignal);
    std::signal(SIGTERM, onSignal);
    std::signal(SIGPIPE, SIG_IGN);
    const int code = app.exec();
    server.stop();
    return code;
}
