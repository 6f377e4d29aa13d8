#pragma once
// The one error type of the catalogue link and the song list.
#include <stdexcept>
#include <string>

namespace catalogue {

// The failures a program tells its user about in its own words.
enum class CatalogueFailure {
    Other,
    // The embedded engine of another program on this machine has the catalogue open.
    OpenInAnotherProgram,
    // The server refused the user name and password.
    LoginRefused,
};

// what() is Windows-1252 text: the Firebird client library's own message, unchanged, when the
// client failed, or one of this system's own texts otherwise.
class CatalogueError : public std::runtime_error {
public:
    explicit CatalogueError(const std::string& what, CatalogueFailure failure = CatalogueFailure::Other)
        : std::runtime_error(what)
        , failure_(failure)
    {
    }
    CatalogueFailure Failure() const { return failure_; }

private:
    CatalogueFailure failure_;
};

} // namespace catalogue
