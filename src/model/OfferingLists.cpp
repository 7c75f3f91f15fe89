#include "model/OfferingLists.h"

#include "common/Helpers.h"
#include "common/SqlText.h"
#include "db/DataSet.h"
#include "db/Errors.h"

#include <QListWidget>

namespace dudodu {

void TTeacherList::SetTcherEditor(QListWidget* editor) {
    FEditor = editor;
    if (!FEditor) return;
    FEditor->clear();
    FEditor->addItems(*this);
}

// --- TPreSubjList

std::unique_ptr<TPreSubjList> TPreSubjList::CreateFromRule(TQueryDataSet* query, int subjectSysno,
                                                           int programId, const QString& depyrCode) {
    auto list = std::make_unique<TPreSubjList>(query);
    list->LoadFromRule(subjectSysno, programId, depyrCode);
    return list;
}

void TPreSubjList::Load(const QString& sql, const std::function<QString(TQueryDataSet&)>& line) {
    // Read everything first so that a failed load leaves the old lines.
    QStringList lines;
    try {
        ForEachRow(FQuery, sql, [&](TQueryDataSet& q) { lines.append(line(q)); });
    } catch (const TDBError& error) {
        throw TAppError(QStringLiteral("無法讀取先修科目:") + error.message());
    }
    clear();
    append(lines);
}

void TPreSubjList::LoadFromRule(int subjectSysno, int /*programId*/, const QString& depyrCode) {
    Load(QStringLiteral("select pre_type, pre_subject_name, pre_subject_sysno from "
                        "VELM_DBASE..vwRule_Subject_Previous where subject_sysno=") +
             SqlNumber(subjectSysno) + QStringLiteral(" and depyr_code=") + SqlQuote(depyrCode) +
             QStringLiteral(
                 " group by pre_type, pre_subject_name, pre_subject_sysno order by pre_subject_sysno"),
         [](TQueryDataSet& q) {
             return q.fieldByName(QStringLiteral("pre_type")).asString() +
                    q.fieldByName(QStringLiteral("pre_subject_name")).asString();
         });
}

void TPreSubjList::LoadFromOffering(int subjectGroup) {
    Load(QStringLiteral("select pre_subject_name from VELM_DBASE..SEMEOLD_PRESUBJ where SUBJECT_GROUP=") +
             SqlNumber(subjectGroup) + QStringLiteral(" order by seq"),
         [](TQueryDataSet& q) { return q.fieldByName(QStringLiteral("pre_subject_name")).asString(); });
}

void TPreSubjList::SetText(const QString& text) {
    FText = text;
    QString rest = text;
    for (;;) {
        const qsizetype comma = rest.indexOf(QStringLiteral("、"));
        if (comma < 0) {
            append(rest);
            return;
        }
        append(rest.left(comma));
        rest = TrimBlanks(rest.mid(comma + 1));
    }
}

// --- TGC_SPHERE

std::unique_ptr<TGC_SPHERE> TGC_SPHERE::CreateForOffering(TQueryDataSet* query, int subjectGroup) {
    auto list = std::make_unique<TGC_SPHERE>(query);
    list->LoadFromOffering(subjectGroup);
    return list;
}

std::unique_ptr<TGC_SPHERE> TGC_SPHERE::CreateFromRule(TQueryDataSet* query, int subjectSysno) {
    auto list = std::make_unique<TGC_SPHERE>(query);
    list->LoadFromRule(subjectSysno);
    return list;
}

void TGC_SPHERE::LoadFromRule(int subjectSysno) {
    const QString sql =
        QStringLiteral("select b.sphere_sname, b.sphere_id from VELM_DBASE..rule_subject_sphere a, "
                       "VELM_DBASE..rule_general_sphere b where a.subject_sysno=") +
        SqlNumber(subjectSysno) + QStringLiteral(" and a.dep_id in (") + TGC_GROUP().FQuotedCodes +
        QStringLiteral(")") + QStringLiteral(" and a.across_sphere=b.sphere_id") +
        QStringLiteral(" order by sphere_default desc");
    QStringList lines;
    ForEachRow(FQuery, sql, [&](TQueryDataSet& q) {
        lines.append(q.fieldByName(QStringLiteral("sphere_id")).asString() + QLatin1Char('=') +
                     q.fieldByName(QStringLiteral("sphere_sname")).asString());
    });
    clear();
    append(lines);
}

void TGC_SPHERE::LoadFromOffering(int subjectGroup) {
    const QString sql =
        QStringLiteral("select gc_code, gc_field from VELM_DBASE..SEMEGC_FIELD where SUBJECT_GROUP=") +
        SqlNumber(subjectGroup) + QStringLiteral(" order by seq");
    QStringList lines;
    ForEachRow(FQuery, sql, [&](TQueryDataSet& q) {
        lines.append(q.fieldByName(QStringLiteral("gc_code")).asString() + QLatin1Char('=') +
                     q.fieldByName(QStringLiteral("gc_field")).asString());
    });
    clear();
    append(lines);
}

// --- TGC_GROUP

TGC_GROUP::TGC_GROUP()
    : TStringList{QStringLiteral("GC__"), QStringLiteral("LB__"), QStringLiteral("LC__"),
                  QStringLiteral("PEC_"), QStringLiteral("CLC_")} {
    QStringList quoted;
    for (const QString& code : *this)
        quoted.append(SqlQuote(code));
    FQuotedCodes = quoted.join(QLatin1Char(','));
}

} // namespace dudodu
