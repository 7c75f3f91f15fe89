// The offering record: one offering of a subject in a semester, as the course grid, the editor and
// the rule picker hold it. So far only what the main window's ownership rules need.
#pragma once

#include "common/HtmlGrid.h"

#include <QString>

namespace dudodu {

class TRULE_SUBJECT : public TGridObject {
  public:
    // Where a record comes from (FOrigin).
    enum : quint8 { FromRule = 0, FromDatabase = 1, NewBlank = 2 };

    explicit TRULE_SUBJECT(quint8 origin);

    // True while the record shows itself in a grid row.
    bool HasGridRow() const;

    quint8 FOrigin;
    QString FSeparator = QStringLiteral("<BR>");
    THtmlGrid* FGrid = nullptr; // the grid showing the record; not owned
    int FGridRow = -1;          // its row there, -1 = none
};

} // namespace dudodu
