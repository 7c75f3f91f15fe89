#include "model/OfferingRecord.h"

namespace dudodu {

TRULE_SUBJECT::TRULE_SUBJECT(quint8 origin) : FOrigin(origin) {}

bool TRULE_SUBJECT::HasGridRow() const {
    return FGrid != nullptr && FGridRow >= 1 && FGridRow < FGrid->RowCount();
}

} // namespace dudodu
