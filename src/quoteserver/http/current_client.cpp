#include "quoteserver/http/current_client.h"

namespace lark::quoteserver {
namespace {

thread_local std::string current;

} // namespace

const std::string &currentClient()
{
    return current;
}

ClientScope::ClientScope(std::string client)
{
    current = std::move(client);
}

ClientScope::~ClientScope()
{
    current.clear();
}

} // namespace lark::quoteserver
