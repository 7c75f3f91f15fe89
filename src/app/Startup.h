// Start-up of the client: the data module and every window, created once in the program's order and
// kept until it ends.
#pragma once

#include "app/LoginForm.h"
#include "app/PlaceholderWindows.h"
#include "app/UpdateProgForm.h"
#include "db/DataModule.h"
#include "forms/main/KursplanForm.h"

#include <memory>

namespace dudodu {

class TApplication;

// Members are declared in creation order, so they are destroyed in reverse: windows first, the data
// module last.
struct TWindows {
    std::unique_ptr<TDM> DM;
    std::unique_ptr<TfrmKURSPLAN> frmKURSPLAN; // the main window
    std::unique_ptr<TfrmLOGIN> frmLOGIN;
    std::unique_ptr<TfrmCLASSROOM> frmCLASSROOM;
    std::unique_ptr<TfrmTeacher> frmTeacher;
    std::unique_ptr<TfrmRULE> frmRULE;
    std::unique_ptr<TfrmINSPECTION> frmINSPECTION;
    std::unique_ptr<Tf_update_prog> f_update_prog;
    std::unique_ptr<TfrmBelong> frmBelong;
    std::unique_ptr<TfrmCrs> frmCrs;
    std::unique_ptr<TFormfeatures> Formfeatures;
};

// The settings item holding the update base URL (an address ending in "/").
inline constexpr char kUpdateUrlSettingKey[] = "updateUrl";

std::unique_ptr<TWindows> CreateWindows(std::unique_ptr<TConnection> connection);

// The whole program after the application object exists: options, the database choice (creating
// the demo database when needed), the windows, the event loop. Returns the exit code.
int RunClient(TApplication& app);

} // namespace dudodu
