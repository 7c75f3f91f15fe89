// Batch semantics: transactions, error blocks, statements that fail without one, variables.
#include "engine/Engine.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace dudodu::engine;

namespace {

class Batch : public ::testing::Test {
protected:
    void SetUp() override {
        QString error;
        m_engine = Engine::create(m_dir.path(), &error);
        ASSERT_TRUE(m_engine) << error.toStdString();
        ASSERT_TRUE(m_engine->execute(insertTeacher(1, 1, "甲")).ok());
    }

    static QString insertTeacher(int group, int seq, const char *name) {
        return QStringLiteral("insert VELM_DBASE..SEMETEACHER(SUBJECT_GROUP,TCHER_NO,TCHER_NAME,seq) values(%1,%2,'%3',%4)")
            .arg(group)
            .arg(100 + seq)
            .arg(QString::fromUtf8(name))
            .arg(seq);
    }

    static QString errorBlock(const char *key) {
        return QStringLiteral("if @@error<>0\nbegin\n   raiserror ('[%1]無法新增教師資料。', 16, 1)\n   rollback\n   return\nend")
            .arg(QString::fromUtf8(key));
    }

    QStringList names() {
        const BatchResult r = m_engine->execute("select TCHER_NAME from VELM_DBASE..SEMETEACHER order by SUBJECT_GROUP, seq");
        EXPECT_TRUE(r.ok()) << r.error.toStdString();
        QStringList out;
        for (const QVariantList &row : r.results.value(0).rows)
            out << row[0].toString();
        return out;
    }

    QTemporaryDir m_dir;
    std::unique_ptr<Engine> m_engine;
};

TEST_F(Batch, ErrorBlockRollsBackTheWholeBatchAndReportsItsText) {
    const QString batch = QStringList{
        "begin transaction",
        insertTeacher(2, 1, "乙"), errorBlock("K1"),
        insertTeacher(1, 1, "重複"), errorBlock("K2"), // duplicate key: the block fires
        insertTeacher(3, 1, "丙"), errorBlock("K3"),
        "commit transaction"}.join('\n');
    const BatchResult r = m_engine->execute(batch);
    EXPECT_EQ(r.error, QStringLiteral("[K2]無法新增教師資料。"));
    EXPECT_EQ(names(), QStringList({"甲"}));
}

TEST_F(Batch, FailingStatementWithoutErrorBlockLetsTheRestCommit) {
    const QString batch = QStringList{
        "begin transaction",
        insertTeacher(2, 1, "乙"),
        insertTeacher(1, 1, "重複"), // fails, no error block follows
        insertTeacher(3, 1, "丙"),
        "commit transaction"}.join('\n');
    const BatchResult r = m_engine->execute(batch);
    EXPECT_FALSE(r.ok()); // the failure is still reported
    EXPECT_EQ(r.errors.size(), 1);
    EXPECT_EQ(names(), QStringList({"甲", "乙", "丙"}));
}

TEST_F(Batch, FailureOutsideATransactionKeepsWhatRanBefore) {
    const QString batch = QStringList{insertTeacher(2, 1, "乙"), insertTeacher(1, 1, "重複"),
                                      "raiserror('stop here', 16, 1)", "return", insertTeacher(3, 1, "丙")}
                              .join('\n');
    const BatchResult r = m_engine->execute(batch);
    EXPECT_EQ(r.error, QStringLiteral("stop here"));
    EXPECT_EQ(names(), QStringList({"甲", "乙"}));
}

TEST_F(Batch, RowcountVariablesAndExistsDriveTheFlow) {
    // The shape of the subject-code change and the class separation batches.
    const QString batch = QStringList{
        "declare @g int, @name varchar(20)",
        "select @g=SUBJECT_GROUP, @name=TCHER_NAME from VELM_DBASE..SEMETEACHER where TCHER_NO=101",
        "begin transaction",
        "update VELM_DBASE..SEMETEACHER set TCHER_NAME='改' where SUBJECT_GROUP=99",
        "if @@rowcount=0",
        "begin",
        "  insert VELM_DBASE..SEMETEACHER(SUBJECT_GROUP,TCHER_NO,TCHER_NAME,seq) values(@g + 1, 102, @name + '二', 1)",
        "end",
        "if exists (select SUBJECT_GROUP from VELM_DBASE..SEMETEACHER where SUBJECT_GROUP=@g)",
        "  delete VELM_DBASE..SEMETEACHER where SUBJECT_GROUP=@g",
        "else",
        "  insert VELM_DBASE..SEMETEACHER(SUBJECT_GROUP,TCHER_NO,TCHER_NAME,seq) values(50, 0, 'wrong branch', 1)",
        "if not exists (select * from VELM_DBASE..SEMETEACHER where SUBJECT_GROUP=@g) select @g as g, @name as name",
        "commit transaction"}.join('\n');
    const BatchResult r = m_engine->execute(batch);
    ASSERT_TRUE(r.ok()) << r.error.toStdString();
    EXPECT_EQ(names(), QStringList({"甲二"}));
    ASSERT_EQ(r.results.size(), 1);
    EXPECT_EQ(r.results[0].columns, QStringList({"g", "name"}));
    EXPECT_EQ(r.results[0].rows[0], (QVariantList{qint64(1), QStringLiteral("甲")}));
}

TEST_F(Batch, TransactionLeftOpenIsRolledBack) {
    const BatchResult r = m_engine->execute("begin transaction\n" + insertTeacher(2, 1, "乙"));
    EXPECT_FALSE(r.ok());
    EXPECT_EQ(names(), QStringList({"甲"}));
    // The connection is usable afterwards: no transaction is left behind.
    EXPECT_TRUE(m_engine->execute("begin transaction\n" + insertTeacher(2, 1, "乙") + "\ncommit transaction").ok());
    EXPECT_EQ(names(), QStringList({"甲", "乙"}));
}

TEST_F(Batch, TextAssignedToIntegerColumnConvertsOrFails) {
    EXPECT_TRUE(m_engine->execute("insert VELM_DBASE..SEMETEACHER(SUBJECT_GROUP,TCHER_NO,TCHER_NAME,seq) "
                                  "values('7', '', 'x', ' 2 ')").ok());
    const BatchResult r = m_engine->execute("select TCHER_NO, seq from VELM_DBASE..SEMETEACHER where SUBJECT_GROUP=7");
    ASSERT_EQ(r.results.value(0).rows.size(), 1);
    EXPECT_EQ(r.results[0].rows[0], (QVariantList{qint64(0), qint64(2)}));
    const BatchResult bad = m_engine->execute("insert VELM_DBASE..SEMETEACHER(SUBJECT_GROUP,TCHER_NO,TCHER_NAME,seq) "
                                              "values(8, 'abc', 'x', 1)");
    EXPECT_TRUE(bad.error.contains("Conversion failed")) << bad.error.toStdString();
}

} // namespace
