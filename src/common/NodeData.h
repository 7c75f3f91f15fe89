// TNodedata: one department-year unit attached to a tree node or a combo item. Combo items own their
// unit through a shared pointer kept in the item's data: clearing or refilling the combo frees it, and
// a second combo given the same items shares it (freed when the last item holding it goes).
#pragma once

#include "common/Helpers.h"

#include <QComboBox>
#include <QMetaType>
#include <QString>
#include <QVariant>
#include <memory>

namespace dudodu {

struct TNodedata {
    int year = 0;
    int depyr_id = 0;
    int parent = 0; // the parent unit's depyr_id
    int location = 0;
    QString s1_class;
    int dep_level = 0;
    QString dep_name;
    QString d_type; // unit kind
    QString depyr_code;
    QString dep_code;
    QString crs_depyr_code; // the unit whose syllabus an offering follows
    QString rsubj_serno;    // an offering's serial, as text
    QString note;
};

using TNodedataPtr = std::shared_ptr<const TNodedata>;

} // namespace dudodu

Q_DECLARE_METATYPE(dudodu::TNodedataPtr)

namespace dudodu {

inline constexpr int kNodeDataRole = Qt::UserRole + 1;

// Adds an item that owns (or shares) its unit. code is the value an offering record looks the item
// up by (ComboItemCode): the unit code, the syllabus-unit code or the serial, as the combo needs.
inline void AddNodeItem(QComboBox* combo, const QString& text, TNodedataPtr node, const QString& code) {
    AddCodedItem(combo, text, code);
    combo->setItemData(combo->count() - 1, QVariant::fromValue(std::move(node)), kNodeDataRole);
}

// The unit of an item; nullptr when the index is out of range or the item carries none.
inline const TNodedata* ComboNodeData(const QComboBox* combo, int index) {
    if (index < 0 || index >= combo->count()) return nullptr;
    return combo->itemData(index, kNodeDataRole).value<TNodedataPtr>().get();
}

// Lets go of the units of the items (the items stay); a unit is freed once no item holds it.
inline void FreeNodeObjects(QComboBox* combo) {
    for (int i = 0; i < combo->count(); ++i)
        combo->setItemData(i, QVariant(), kNodeDataRole);
    FreeComboObjects(combo);
}

// Makes target's items a copy of source's items, sharing their units.
inline void CopyNodeItems(const QComboBox* source, QComboBox* target) {
    FreeNodeObjects(target);
    target->clear();
    for (int i = 0; i < source->count(); ++i)
        AddNodeItem(target, source->itemText(i), source->itemData(i, kNodeDataRole).value<TNodedataPtr>(),
                    ComboItemCode(source, i));
}

} // namespace dudodu
