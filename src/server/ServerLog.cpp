#include "server/ServerLog.h"

#include <QDateTime>
#include <QFile>
#include <QMutex>

namespace dudodu::server {

struct ServerLog::Impl {
    QMutex mutex;
    QFile file;
    bool open = false;
    std::function<void(const QString&)> sink;
};

ServerLog::ServerLog(const QString& file) : d(std::make_unique<Impl>()) {
    if (file.isEmpty()) {
        d->open = d->file.open(stderr, QIODevice::WriteOnly | QIODevice::Unbuffered);
    } else {
        d->file.setFileName(file);
        d->open = d->file.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Text);
    }
}

ServerLog::ServerLog(std::function<void(const QString&)> sink) : d(std::make_unique<Impl>()) {
    d->sink = std::move(sink);
    d->open = true;
}

ServerLog::~ServerLog() = default;

bool ServerLog::isOpen() const {
    return d->open;
}

void ServerLog::write(const QString& line) {
    // Line breaks inside a value (an account name, a peer's reason) must not forge log lines.
    QString clean = line;
    clean.replace(u'\n', u' ').replace(u'\r', u' ');
    const QString stamped = QDateTime::currentDateTimeUtc().toString(Qt::ISODateWithMs) + u' ' + clean;
    QMutexLocker lock(&d->mutex);
    if (d->sink) {
        d->sink(stamped);
        return;
    }
    if (!d->open) return;
    d->file.write((stamped + u'\n').toUtf8());
    d->file.flush();
}

} // namespace dudodu::server
