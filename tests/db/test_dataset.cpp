#include "db/FakeConnection.h"

#include "db/DataSet.h"
#include "db/Errors.h"

#include <gtest/gtest.h>

namespace dudodu {
namespace {

using test::errorReply;
using test::rowsReply;
using test::TFakeConnection;

class DataSetTest : public ::testing::Test {
  protected:
    void SetUp() override { connection.activate(); }
    void answer(TBatchReply reply) {
        connection.reply = [reply](const QString&) { return reply; };
    }
    TFakeConnection connection;
    TQueryDataSet query{connection, QStringLiteral("query1")};
};

TEST_F(DataSetTest, NullReadsAsEmptyTextOrZero) {
    answer(rowsReply({"NAME", "CREDIT", "LIMIT"}, {{QVariant(), QVariant(), QVariant()}},
                     {TFieldType::String, TFieldType::Float, TFieldType::Integer}));
    query.open();
    for (const char* name : {"NAME", "CREDIT", "LIMIT"}) {
        SCOPED_TRACE(name);
        const TField field = query.fieldByName(QLatin1String(name));
        EXPECT_TRUE(field.isNull());
        EXPECT_EQ(field.asString(), QString());
        EXPECT_EQ(field.asInteger(), 0);
        EXPECT_EQ(field.asFloat(), 0.0);
    }
}

TEST_F(DataSetTest, RecordCountAndForwardIterationRightAfterOpen) {
    answer(rowsReply({"ID"}, {{qint64(1)}, {qint64(2)}, {qint64(3)}}));
    query.open();
    EXPECT_EQ(query.recordCount(), 3);
    QList<int> seen;
    for (; !query.eof(); query.next())
        seen.append(query.field(0).asInteger());
    EXPECT_EQ(seen, (QList<int>{1, 2, 3}));
    // Past the end the cursor stays on the last row.
    EXPECT_EQ(query.field(0).asInteger(), 3);
    query.first();
    EXPECT_FALSE(query.eof());
    EXPECT_EQ(query.field(0).asInteger(), 1);
}

TEST_F(DataSetTest, EmptyResultIsAtEndAndReadsNull) {
    answer(rowsReply({"ident"}, {}));
    query.open();
    EXPECT_TRUE(query.active());
    EXPECT_EQ(query.recordCount(), 0);
    EXPECT_TRUE(query.eof());
    EXPECT_EQ(query.fieldByName("ident").asInteger(), 0); // "no row gives 0"
}

TEST_F(DataSetTest, CloseIsSafeWhenNotOpenAndClosedDatasetRefusesReads) {
    EXPECT_NO_THROW(query.close());
    EXPECT_NO_THROW(query.close());
    EXPECT_FALSE(query.active());
    EXPECT_THROW(query.field(0), TDBError);
}

TEST_F(DataSetTest, ServerErrorRaisesWithTheServersTextAndLeavesTheDatasetClosed) {
    const QString text = QStringLiteral("[SUBJ-01] 無法新增開課資料");
    answer(errorReply(text));
    query.setSQL(QStringLiteral("raiserror('x',16,1)"));
    try {
        query.open();
        FAIL() << "open did not raise";
    } catch (const TDBError& error) {
        EXPECT_EQ(error.message(), text);
    }
    EXPECT_FALSE(query.active());
    try {
        query.execSQL();
        FAIL() << "execSQL did not raise";
    } catch (const TDBError& error) {
        EXPECT_EQ(error.message(), text);
    }
}

TEST_F(DataSetTest, LinesAreJoinedIntoOneBatchAndChangingThemCloses) {
    answer(rowsReply({"A"}, {{qint64(1)}}));
    query.clearSQL();
    query.addSQL(QStringLiteral("select 1 as A"));
    query.addSQL(QStringLiteral("where 1=1"));
    query.open();
    ASSERT_EQ(connection.batches.size(), 1);
    EXPECT_EQ(connection.batches.first(), QStringLiteral("select 1 as A\nwhere 1=1"));
    query.clearSQL();
    EXPECT_FALSE(query.active());
}

TEST_F(DataSetTest, FieldsByNameIgnoreCaseAndUnknownNamesRaise) {
    answer(rowsReply({"ITEM_VALUE", "sphere_id"}, {{QStringLiteral("4.197"), qint64(7)}}));
    query.open();
    EXPECT_EQ(query.fieldByName("item_value").asString(), QStringLiteral("4.197"));
    EXPECT_EQ(query.fieldByName("SPHERE_ID").asInteger(), 7);
    EXPECT_EQ(query.field(1).name(), QStringLiteral("sphere_id"));
    EXPECT_THROW(query.fieldByName("missing"), TDBError);
    EXPECT_THROW(query.field(2), TDBError);
}

TEST_F(DataSetTest, ValuesConvertBetweenKinds) {
    struct Case {
        QVariant value;
        QString text;
        bool numeric;
        int integer;
        double real;
    };
    const Case cases[] = {
        {qint64(42), "42", true, 42, 42.0},
        {3.0, "3", true, 3, 3.0},
        {2.5, "2.5", true, 3, 2.5},
        {0.1, "0.1", true, 0, 0.1},
        {1000000.0, "1000000", true, 1000000, 1000000.0},
        {QStringLiteral(" 12 "), " 12 ", true, 12, 12.0},
        {QStringLiteral("2012-09-01 00:00:00.000"), "2012-09-01 00:00:00.000", false, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text.toStdString());
        const TField field(QStringLiteral("F"), TFieldType::Unknown, c.value);
        EXPECT_EQ(field.asString(), c.text);
        if (!c.numeric) {
            EXPECT_THROW(field.asInteger(), TDBError);
            EXPECT_THROW(field.asFloat(), TDBError);
            continue;
        }
        EXPECT_EQ(field.asInteger(), c.integer);
        EXPECT_DOUBLE_EQ(field.asFloat(), c.real);
    }
}

TEST_F(DataSetTest, BatchWithoutRowSetOpensEmpty) {
    answer(TBatchReply{});
    query.open();
    EXPECT_TRUE(query.active());
    EXPECT_EQ(query.fieldCount(), 0);
    EXPECT_TRUE(query.eof());
}

TEST(MemDataSetTest, CopiesStructureAndRowsOfAnOpenDataset) {
    TFakeConnection connection;
    connection.activate();
    connection.reply = [](const QString&) {
        return rowsReply(
            {"CODE", "NAME"},
            {{QStringLiteral("IM__"), QStringLiteral("資管系")}, {QStringLiteral("GC__"), QVariant()}},
            {TFieldType::String, TFieldType::String});
    };
    TQueryDataSet source(connection, QStringLiteral("q_tmp1"));
    source.open();
    source.next(); // the copy does not depend on the source's cursor

    TMemDataSet copy;
    copy.copyFrom(source);
    source.close();
    EXPECT_EQ(copy.fieldNames(), (QStringList{"CODE", "NAME"}));
    ASSERT_EQ(copy.recordCount(), 2);
    EXPECT_EQ(copy.fieldByName("NAME").asString(), QStringLiteral("資管系"));
    copy.next();
    EXPECT_EQ(copy.fieldByName("CODE").asString(), QStringLiteral("GC__"));
    EXPECT_EQ(copy.fieldByName("NAME").asString(), QString());

    TMemDataSet closed;
    EXPECT_THROW(closed.copyFrom(source), TDBError);
}

TEST(MemDataSetTest, AppendSetFieldPost) {
    TMemDataSet table;
    table.createDataSet({"ROOM", "SEATS"}, {TFieldType::String, TFieldType::Integer});
    EXPECT_THROW(table.setFieldByName("ROOM", "A101"), TDBError); // not appending
    table.append();
    table.setFieldByName("room", QStringLiteral("A101"));
    table.setField(1, 60);
    EXPECT_EQ(table.recordCount(), 0); // not yet posted
    table.post();
    table.append();
    table.setFieldByName("ROOM", QStringLiteral("B202"));
    table.cancel();
    ASSERT_EQ(table.recordCount(), 1);
    table.first();
    EXPECT_EQ(table.fieldByName("ROOM").asString(), QStringLiteral("A101"));
    EXPECT_EQ(table.fieldByName("SEATS").asInteger(), 60);
    table.edit();
    table.setField(1, 45);
    table.post();
    EXPECT_EQ(table.fieldByName("SEATS").asInteger(), 45);
}

} // namespace
} // namespace dudodu
