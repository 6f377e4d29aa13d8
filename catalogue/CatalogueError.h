#pragma once
// The one error type of the catalogue link and the song list.
#include <stdexcept>

namespace catalogue {

// what() is Windows-1252 text: the Firebird client library's own message, unchanged, when the
// client failed, or one of this system's own texts otherwise.
class CatalogueError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

} // namespace catalogue
