#include "app/Application.h"
#include "app/Startup.h"

int main(int argc, char** argv) {
    dudodu::TApplication app(argc, argv);
    return dudodu::RunClient(app);
}
