#include "server/Backend.h"

#include "db/EngineReply.h"
#include "engine/Engine.h"
#include "server/ServerConfig.h"

namespace dudodu::server {

namespace {

class EngineBackend : public Backend {
  public:
    explicit EngineBackend(std::unique_ptr<engine::Engine> engine) : m_engine(std::move(engine)) {}

    TBatchReply execute(const QString& batch) override { return toBatchReply(m_engine->execute(batch)); }

  private:
    std::unique_ptr<engine::Engine> m_engine;
};

} // namespace

std::unique_ptr<Backend> engineBackend(std::unique_ptr<engine::Engine> engine) {
    return std::make_unique<EngineBackend>(std::move(engine));
}

std::unique_ptr<Backend> openBackend(const ServerConfig& config, QString* error) {
    if (config.backend == ServerConfig::Backend::Odbc) return openOdbcBackend(config.odbcConnection, error);
    auto engine = engine::Engine::open(config.databaseFolder, error);
    if (!engine) return nullptr;
    return engineBackend(std::move(engine));
}

} // namespace dudodu::server
