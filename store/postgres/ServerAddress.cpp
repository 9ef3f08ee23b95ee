#include "store/postgres/ServerAddress.h"

#include <cctype>

namespace kelvane {

namespace {

constexpr std::string_view kSchemes[] = {"postgresql://", "postgres://"};

// %XX undone; anything else kept.
std::string PercentDecoded(std::string_view text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '%' && i + 2 < text.size() &&
            std::isxdigit(static_cast<unsigned char>(text[i + 1])) &&
            std::isxdigit(static_cast<unsigned char>(text[i + 2]))) {
            out += static_cast<char>(std::stoi(std::string(text.substr(i + 1, 2)), nullptr, 16));
            i += 2;
        } else {
            out += text[i];
        }
    }
    return out;
}

void ReplaceAll(std::string& text, const std::string& what, const std::string& by) {
    if (what.empty()) return;
    for (std::size_t at = text.find(what); at != std::string::npos;
         at = text.find(what, at + by.size()))
        text.replace(at, what.size(), by);
}

}  // namespace

bool ServerAddress::IsServer(std::string_view text) {
    for (std::string_view scheme : kSchemes)
        if (text.starts_with(scheme)) return true;
    return false;
}

std::optional<ServerAddress> ServerAddress::Parse(const std::string& text) {
    std::string_view rest;
    for (std::string_view scheme : kSchemes)
        if (std::string_view(text).starts_with(scheme))
            rest = std::string_view(text).substr(scheme.size());
    if (!IsServer(text)) return std::nullopt;
    ServerAddress address;
    address.uri_ = text;
    const std::size_t authorityEnd = rest.find_first_of("/?#");
    std::string_view authority = rest.substr(0, authorityEnd);
    std::string_view tail = authorityEnd == std::string_view::npos ? "" : rest.substr(authorityEnd);
    std::string user;
    if (const std::size_t at = authority.rfind('@'); at != std::string_view::npos) {
        const std::string_view userInfo = authority.substr(0, at);
        const std::size_t colon = userInfo.find(':');
        user = std::string(userInfo.substr(0, colon));
        if (colon != std::string_view::npos) address.password_ = userInfo.substr(colon + 1);
        authority = authority.substr(at + 1);
    }
    // The database after the slash, up to the query.
    const std::size_t queryAt = tail.find('?');
    const std::string_view path = tail.substr(0, queryAt);
    std::string query;
    if (queryAt != std::string_view::npos) {
        std::string_view parameters = tail.substr(queryAt + 1);
        while (!parameters.empty()) {
            const std::size_t amp = parameters.find('&');
            const std::string_view parameter = parameters.substr(0, amp);
            if (parameter.starts_with("password=")) {
                address.password_ = parameter.substr(9);
            } else if (!parameter.empty()) {
                query += (query.empty() ? "?" : "&") + std::string(parameter);
            }
            parameters = amp == std::string_view::npos ? "" : parameters.substr(amp + 1);
        }
    }
    if (authority.empty() || path.size() < 2) return std::nullopt;
    address.shown_ = "postgresql://" + (user.empty() ? "" : user + "@") + std::string(authority) +
                     std::string(path) + query;
    return address;
}

std::string ServerAddress::Scrub(std::string message) const {
    if (password_.empty()) return message;
    ReplaceAll(message, password_, "***");
    ReplaceAll(message, PercentDecoded(password_), "***");
    return message;
}

}  // namespace kelvane
