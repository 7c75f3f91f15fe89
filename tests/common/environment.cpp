#include "common/TestApp.h"

#include <QApplication>

// googletest owns the environments it is given.
static ::testing::Environment* const applicationEnvironment =
    ::testing::AddGlobalTestEnvironment(new dudodu::test::TApplicationEnvironment<QApplication>);
