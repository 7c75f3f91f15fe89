// The application object of a test program: made before the first test and destroyed after the
// last, while Qt's own statics still exist (destroying it during static teardown leaks its caches).
#pragma once

#include <QCoreApplication>
#include <gtest/gtest.h>
#include <memory>

namespace dudodu::test {

template <typename Application> class TApplicationEnvironment : public ::testing::Environment {
  public:
    void SetUp() override {
        // Tests never need a screen, also when a test program is started by hand.
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
        m_app = std::make_unique<Application>(m_argc, m_argv);
    }
    void TearDown() override { m_app.reset(); }

  private:
    int m_argc = 1;
    char m_name[6] = "tests";
    char* m_argv[2] = {m_name, nullptr};
    std::unique_ptr<Application> m_app;
};

} // namespace dudodu::test
