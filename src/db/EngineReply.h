// The embedded engine's batch result as a connection's reply: shared by the embedded connection
// and dudodu-server's engine backend, so that both answer alike.
#pragma once

#include "db/ResultTable.h"

namespace dudodu::engine {
struct BatchResult;
}

namespace dudodu {

TBatchReply toBatchReply(engine::BatchResult&& result);

} // namespace dudodu
