#include "app/Application.h"

#include "common/Helpers.h"
#include "db/Connection.h"

namespace dudodu {

TApplication::TApplication(int& argc, char** argv) : QApplication(argc, argv) {
    setApplicationName(TConnection::applicationName());
    setApplicationVersion(TConnection::applicationVersion());
}

bool TApplication::notify(QObject* receiver, QEvent* event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception& error) {
        ShowException(error);
    }
    return false;
}

} // namespace dudodu
