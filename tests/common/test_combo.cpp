#include "db/FakeConnection.h"

#include "common/Helpers.h"
#include "db/DataSet.h"
#include "db/Errors.h"

#include <QComboBox>
#include <gtest/gtest.h>

namespace dudodu {
namespace {

class ComboTest : public ::testing::Test {
  protected:
    void SetUp() override {
        connection.activate();
        AddCodedItem(&combo, QStringLiteral("old"), QStringLiteral("OLD_"));
    }
    test::TFakeConnection connection;
    TQueryDataSet query{connection, QStringLiteral("query1")};
    QComboBox combo;
};

TEST_F(ComboTest, ItemsShowTheFirstColumnAndKeepTheSecondAsCode) {
    connection.reply = [](const QString&) {
        return test::rowsReply({"TEXT", "CLASS_ID"},
                               {{QStringLiteral(" IM__:資訊管理學系\t"), QStringLiteral("IM__ ")},
                                {QStringLiteral("GC__:通識中心"), QStringLiteral("GC__")},
                                {QStringLiteral("NULL code"), QVariant()}});
    };
    const QString sql =
        QStringLiteral("SELECT CLASS_ID+':'+NAME,CLASS_ID FROM VELM_DBASE..SUB_CLASS ORDER BY CLASS_ID");
    EXPECT_TRUE(LoadComboFromSQL(&combo, query, sql));
    EXPECT_EQ(connection.batches, QStringList{sql});
    ASSERT_EQ(combo.count(), 3);
    EXPECT_EQ(combo.itemText(0), QStringLiteral("IM__:資訊管理學系"));
    EXPECT_EQ(ComboItemCode(&combo, 0), QStringLiteral("IM__"));
    EXPECT_EQ(ComboItemCode(&combo, 1), QStringLiteral("GC__"));
    EXPECT_EQ(ComboItemCode(&combo, 2), QString());
    EXPECT_EQ(ComboItemCode(&combo, 3), QString());
    EXPECT_EQ(ComboItemCode(&combo, -1), QString());
    EXPECT_FALSE(query.active());

    FreeComboObjects(&combo);
    EXPECT_EQ(combo.count(), 3); // the items stay, their codes go
    EXPECT_EQ(ComboItemCode(&combo, 0), QString());
}

TEST_F(ComboTest, NoRowsGiveAnEmptyComboAndTrue) {
    connection.reply = [](const QString&) { return test::rowsReply({"descrip", "salary_id"}, {}); };
    EXPECT_TRUE(LoadComboFromSQL(
        &combo, query, QStringLiteral("select descrip, salary_id from VELM_DBASE..SEMESALARYGROUP")));
    EXPECT_EQ(combo.count(), 0);
    EXPECT_FALSE(query.active());
}

TEST_F(ComboTest, AFailingQueryRaisesThePrefixedMessageAndLeavesTheComboEmpty) {
    connection.reply = [](const QString&) {
        return test::errorReply(QStringLiteral("Invalid object name 'SUB_CLAS'."));
    };
    try {
        LoadComboFromSQL(&combo, query, QStringLiteral("select * from SUB_CLAS"));
        FAIL() << "no error raised";
    } catch (const TAppError& error) {
        EXPECT_EQ(error.message(),
                  QStringLiteral("無法將資料載入到 TCombobox: Invalid object name 'SUB_CLAS'."));
    }
    EXPECT_EQ(combo.count(), 0);
    EXPECT_FALSE(query.active());
}

TEST_F(ComboTest, AQueryWithoutACodeColumnRaisesAndStillClosesTheDataset) {
    connection.reply = [](const QString&) { return test::rowsReply({"NAME"}, {{QStringLiteral("x")}}); };
    EXPECT_THROW(LoadComboFromSQL(&combo, query, QStringLiteral("select NAME from t")), TDBError);
    EXPECT_FALSE(query.active());
}

} // namespace
} // namespace dudodu
