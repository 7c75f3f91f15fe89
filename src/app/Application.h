// The application object: shows every error that ends an event handler in the default error display
// (the dialog seam) instead of letting it unwind through Qt.
#pragma once

#include <QApplication>

namespace dudodu {

class TApplication : public QApplication {
  public:
    TApplication(int& argc, char** argv);
    bool notify(QObject* receiver, QEvent* event) override;
};

} // namespace dudodu
