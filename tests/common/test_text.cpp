#include "common/Helpers.h"
#include "common/SqlText.h"

#include <gtest/gtest.h>
#include <limits>

namespace dudodu {
namespace {

TEST(TextTest, TrimBlanksRemovesOnlySpaces) {
    const std::pair<QString, QString> cases[] = {
        {"  a", "a"},     {"a  ", "a"},           {"   ", ""}, {"", ""}, {"\ta\t", "\ta\t"},
        {" a b ", "a b"}, {"\u3000a", "\u3000a"}, // ideographic space stays
    };
    for (const auto& [text, trimmed] : cases)
        EXPECT_EQ(TrimBlanks(text), trimmed) << text.toStdString();
}

TEST(TextTest, TrimTextRemovesSpacesAndControls) {
    EXPECT_EQ(TrimText(QStringLiteral(" \t資管系\r\n")), QStringLiteral("資管系"));
    EXPECT_EQ(TrimText(QStringLiteral("\u3000a")), QStringLiteral("\u3000a"));
}

TEST(TextTest, LeftCharsAndIsDigitsOnly) {
    EXPECT_EQ(LeftChars(QStringLiteral("資訊管理"), 2), QStringLiteral("資訊"));
    EXPECT_EQ(LeftChars(QStringLiteral("abc"), 10), QStringLiteral("abc"));
    EXPECT_EQ(LeftChars(QStringLiteral("abc"), 0), QString());
    EXPECT_EQ(LeftChars(QStringLiteral("abc"), -1), QString());

    const std::pair<QString, bool> digits[] = {
        {"", true}, {"0123456789", true}, {"12a", false}, {" 1", false}, {"-1", false}, {"１２", false},
    };
    for (const auto& [text, expected] : digits)
        EXPECT_EQ(IsDigitsOnly(text), expected) << text.toStdString();
}

TEST(StatusTest, CodesAndTextsBothWays) {
    const std::pair<int, QString> table[] = {
        {1, "停開"}, {2, "正常"}, {3, "停選"}, {4, "統一排課"}, {5, "新生選課"},
    };
    for (const auto& [code, text] : table) {
        EXPECT_EQ(StatusToText(code), text) << code;
        EXPECT_EQ(TextToStatus(text), code) << code;
    }
    for (int unknown : {0, 6, -1})
        EXPECT_EQ(StatusToText(unknown), QStringLiteral("正常")) << unknown;
    for (const QString& unknown : {QString(), QStringLiteral("停開 "), QStringLiteral("other")})
        EXPECT_EQ(TextToStatus(unknown), 2) << unknown.toStdString();
}

TEST(SqlTextTest, QuotesDoubleEmbeddedQuotes) {
    const std::pair<QString, QString> cases[] = {
        {"", "''"},
        {"IM__", "'IM__'"},
        {"O'Brien", "'O''Brien'"},
        {"''", "''''''"},
        {"a'; drop table x --", "'a''; drop table x --'"},
    };
    for (const auto& [text, quoted] : cases)
        EXPECT_EQ(SqlQuote(text), quoted) << text.toStdString();
}

TEST(SqlTextTest, NumbersInShortestDecimalWithPoint) {
    const std::pair<double, QString> cases[] = {
        {3.0, "3"},
        {2.5, "2.5"},
        {0.1, "0.1"},
        {-1.25, "-1.25"},
        {-0.0, "0"},
        {1e6, "1000000"},
        {1e20, "100000000000000000000"},
        {1.5e-7, "0.00000015"},
        {std::numeric_limits<double>::quiet_NaN(), "NULL"},
        {std::numeric_limits<double>::infinity(), "NULL"},
    };
    for (const auto& [value, text] : cases)
        EXPECT_EQ(SqlNumber(value), text) << value;
    EXPECT_EQ(SqlNumber(101212345), QStringLiteral("101212345"));
    EXPECT_EQ(SqlNumber(qint64(-5)), QStringLiteral("-5"));
}

} // namespace
} // namespace dudodu
