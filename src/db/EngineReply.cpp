#include "db/EngineReply.h"

#include "engine/Engine.h"

namespace dudodu {

namespace {

TFieldType fieldType(engine::ColumnType type) {
    switch (type) {
    case engine::ColumnType::Integer:
        return TFieldType::Integer;
    case engine::ColumnType::Double:
        return TFieldType::Float;
    case engine::ColumnType::Text:
        return TFieldType::String;
    case engine::ColumnType::Date:
        return TFieldType::DateTime;
    case engine::ColumnType::Unknown:
        break;
    }
    return TFieldType::Unknown;
}

} // namespace

TBatchReply toBatchReply(engine::BatchResult&& result) {
    TBatchReply reply;
    reply.error = std::move(result.error);
    reply.rowsAffected = result.rowsAffected;
    reply.results.reserve(result.results.size());
    for (engine::ResultSet& set : result.results) {
        TResultTable table;
        table.fieldNames = std::move(set.columns);
        for (engine::ColumnType type : set.types)
            table.fieldTypes.append(fieldType(type));
        table.rows = std::move(set.rows);
        reply.results.append(std::move(table));
    }
    return reply;
}

} // namespace dudodu
