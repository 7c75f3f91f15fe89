#include "app/Application.h"
#include "common/TestApp.h"

// The program's own application object; googletest owns the environments it is given.
static ::testing::Environment* const applicationEnvironment =
    ::testing::AddGlobalTestEnvironment(new dudodu::test::TApplicationEnvironment<dudodu::TApplication>);
