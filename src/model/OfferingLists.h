// The teachers, prerequisite subjects and general-education fields of an offering, and the fixed
// list of general-education departments.
#pragma once

#include "model/StringList.h"

#include <memory>

class QListWidget;

namespace dudodu {

class TQueryDataSet;

// Teachers in teaching order, each line teacher number "=" name; number -1 is a teacher still to be
// hired.
class TTeacherList : public TStringList {
  public:
    using TStringList::TStringList;

    QListWidget* GetTcherEditor() const { return FEditor; }
    // Binds the list box and shows the list's lines in it.
    void SetTcherEditor(QListWidget* editor);
    QString NamesBR() const { return JoinValues(*this, QStringLiteral("<BR>")); }
    // Every line run together; part of an offering's signature text.
    QString TeacherKey() const { return join(QString()); }

    QListWidget* FEditor = nullptr; // not owned
    bool FModified = false;         // the teacher picker was opened: the update rewrites the rooms
};

// Prerequisite subjects, one text a line: from a curriculum rule "*" (prerequisite) or "#"
// (background) followed by the name, from the offering's own rows the stored text.
class TPreSubjList : public TStringList {
  public:
    explicit TPreSubjList(TQueryDataSet* query) : FQuery(query) {}
    static std::unique_ptr<TPreSubjList> CreateFromRule(TQueryDataSet* query, int subjectSysno, int programId,
                                                        const QString& depyrCode);

    // Raise TAppError "無法讀取先修科目:" + the server's text; the old lines then stay.
    void LoadFromRule(int subjectSysno, int programId, const QString& depyrCode);
    void LoadFromOffering(int subjectGroup);
    // Appends the "、"-separated parts of text (without emptying the list first).
    void SetText(const QString& text);
    QString Join(const QString& separator) const { return join(separator); }
    QString JoinBR() const { return Join(QStringLiteral("<BR>")); }

    TQueryDataSet* FQuery; // not owned
    QString FText;

  private:
    void Load(const QString& sql, const std::function<QString(TQueryDataSet&)>& line);
};

// General-education fields, each line field code "=" field name.
class TGC_SPHERE : public TStringList {
  public:
    explicit TGC_SPHERE(TQueryDataSet* query) : FQuery(query) {}
    static std::unique_ptr<TGC_SPHERE> CreateForOffering(TQueryDataSet* query, int subjectGroup);
    static std::unique_ptr<TGC_SPHERE> CreateFromRule(TQueryDataSet* query, int subjectSysno);

    // Errors of the gateway pass on to the caller.
    void LoadFromRule(int subjectSysno);
    void LoadFromOffering(int subjectGroup);
    QString Join(const QString& separator) const { return JoinValues(*this, separator); }
    QString JoinBR() const { return Join(QStringLiteral("<BR>")); }
    QString JoinCRLF() const { return Join(QStringLiteral("\r\n")); }

    bool FModified = false; // the editor's panel changed the fields: the update rewrites them
    TQueryDataSet* FQuery;  // not owned
};

// The general-education departments, fixed: GC__, LB__, LC__, PEC_, CLC_. Membership is contains().
class TGC_GROUP : public TStringList {
  public:
    TGC_GROUP();
    QString FQuotedCodes; // 'GC__','LB__','LC__','PEC_','CLC_' - ready for an SQL in-list
};

} // namespace dudodu
