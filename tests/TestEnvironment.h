#pragma once
// What the environment tells the tests: the loopback Firebird server that scripts/test starts,
// and whether this is a CI run (where a missing server or locale is a failure, not a skip).
#include <cstdlib>
#include <string>
#include <string_view>

namespace testenv {

// The loopback server's host (FONAREL_FB_SERVER), or empty when none was started.
inline std::string ServerHost()
{
    const char* host = std::getenv("FONAREL_FB_SERVER");
    return host == nullptr ? "" : host;
}

inline bool UnderCI()
{
    const char* ci = std::getenv("CI");
    return ci != nullptr && std::string_view(ci) == "true";
}

} // namespace testenv
