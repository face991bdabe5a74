#include "protocol/url_escape.h"

#include <curl/curl.h>
#include <memory>

namespace lark {

std::string urlEscaped(std::string_view text)
{
    std::unique_ptr<char, decltype(&curl_free)> escaped(
        curl_easy_escape(nullptr, text.data(), static_cast<int>(text.size())), &curl_free);
    return escaped ? std::string(escaped.get()) : std::string();
}

} // namespace lark
