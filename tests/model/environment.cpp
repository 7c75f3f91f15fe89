#include "common/TestApp.h"

#include <QApplication>

// List boxes, combo boxes and the grid need a widget application; googletest owns the environment.
static ::testing::Environment* const applicationEnvironment =
    ::testing::AddGlobalTestEnvironment(new dudodu::test::TApplicationEnvironment<QApplication>);
