#include "common/TestApp.h"

// The event loop of Connect needs an application object; googletest owns the environments it is given.
static ::testing::Environment* const applicationEnvironment =
    ::testing::AddGlobalTestEnvironment(new dudodu::test::TApplicationEnvironment<QCoreApplication>);
