// A main window logged in through the real login window over a private copy of the demo database,
// for tests of what the window does once a user is in.
#pragma once

#include "app/LoginForm.h"
#include "common/Helpers.h"
#include "db/DataModule.h"
#include "db/EmbeddedConnection.h"
#include "engine/DemoFixture.h"
#include "forms/main/KursplanForm.h"

#include <QComboBox>
#include <QLineEdit>
#include <QTemporaryDir>
#include <memory>

namespace dudodu::test {

class LoggedInWindow {
  public:
    // Logs account in (password demo1234) after running fixtureSql (may be empty) on the copy.
    // problem tells what went wrong; the other members are then not all set.
    explicit LoggedInWindow(const QString& account, const QString& fixtureSql = {}) {
        QString error;
        engine = openDemoCopy(dir, &error);
        if (!engine) {
            problem = error;
            return;
        }
        if (!fixtureSql.isEmpty()) {
            const auto result = engine->execute(fixtureSql);
            if (!result.ok()) {
                problem = result.error;
                return;
            }
        }
        dm = std::make_unique<TDM>(std::make_unique<TEmbeddedConnection>(dir.path()));
        main = std::make_unique<TfrmKURSPLAN>(*dm);
        login = std::make_unique<TfrmLOGIN>(*dm, *main);
        login->show();
        login->edUSERNAME->setText(account);
        login->edPASSWORD->setText(QStringLiteral("demo1234"));
        login->bbLOGINClick();
        if (login->result() != TfrmLOGIN::mrYes) problem = QStringLiteral("login refused");
    }

    // Makes code the selected department (added when the login did not list it).
    void selectDepartment(const QString& code) {
        QComboBox* combo = main->cbLoginDepID;
        int index = -1;
        for (int i = 0; i < combo->count() && index < 0; ++i)
            if (ComboItemCode(combo, i) == code) index = i;
        if (index < 0) {
            AddCodedItem(combo, code + QStringLiteral(":test"), code);
            index = combo->count() - 1;
        }
        combo->setCurrentIndex(index);
    }

    QTemporaryDir dir;
    std::unique_ptr<engine::Engine> engine;
    QString problem;
    std::unique_ptr<TDM> dm;
    std::unique_ptr<TfrmKURSPLAN> main;
    std::unique_ptr<TfrmLOGIN> login;
};

} // namespace dudodu::test

#define ASSERT_RIG(rig) ASSERT_TRUE((rig).problem.isEmpty()) << (rig).problem.toStdString()
