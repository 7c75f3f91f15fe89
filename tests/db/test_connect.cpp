#include "db/FakeConnection.h"

#include "db/DataModule.h"

#include <gtest/gtest.h>

namespace dudodu {
namespace {

using Login = test::TFakeConnection::Login;

struct ConnectCase {
    const char* name;
    Login login;
    bool connected;
};

class ConnectTest : public ::testing::TestWithParam<ConnectCase> {};

TEST_P(ConnectTest, ReturnsTheVerdictAndNeverThrows) {
    auto owned = std::make_unique<test::TFakeConnection>();
    test::TFakeConnection& connection = *owned;
    connection.login = GetParam().login;
    TDM dm(std::move(owned));

    bool connected = !GetParam().connected;
    EXPECT_NO_THROW(connected = dm.Connect(QStringLiteral("IM__"), QStringLiteral("secret")));
    EXPECT_EQ(connected, GetParam().connected);
    // A refused or timed-out login leaves no session open behind it.
    EXPECT_EQ(connection.isActive(), GetParam().connected);
}

INSTANTIATE_TEST_SUITE_P(
    Logins, ConnectTest,
    ::testing::Values(ConnectCase{"RefusedBeforeActive", Login::RefuseAtOnce, false},
                      ConnectCase{"ActiveAtOnce", Login::AcceptAtOnce, true},
                      ConnectCase{"ActiveBeforeAnyVerdict", Login::ActiveWithoutVerdict, true},
                      ConnectCase{"ActiveAfterAWhile", Login::AcceptLater, true},
                      ConnectCase{"WrongPasswordReportedLater", Login::RefuseLater, false},
                      ConnectCase{"UnreachableServer", Login::Never, false},
                      ConnectCase{"SocketThrows", Login::Throw, false}),
    [](const ::testing::TestParamInfo<ConnectCase>& info) { return std::string(info.param.name); });

TEST(ConnectSessionTest, ASecondConnectClosesTheFirstSession) {
    auto owned = std::make_unique<test::TFakeConnection>();
    test::TFakeConnection& connection = *owned;
    TDM dm(std::move(owned));
    ASSERT_TRUE(dm.Connect(QStringLiteral("a"), QStringLiteral("b")));
    const int closesBefore = connection.closes;
    connection.login = Login::RefuseAtOnce;
    EXPECT_FALSE(dm.Connect(QStringLiteral("a"), QStringLiteral("wrong")));
    EXPECT_GT(connection.closes, closesBefore);
    EXPECT_FALSE(connection.isActive());
    EXPECT_FALSE(dm.FLoginVerified);
}

} // namespace
} // namespace dudodu
