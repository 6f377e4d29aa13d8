#pragma once
// Access to the Firebird client library's C++ interface, shared by the catalogue link and the
// catalogue builder: the master interface, status vectors, and the translation of the client's
// failures into CatalogueError with the client's own text.
#include "catalogue/CatalogueError.h"
#include "catalogue/ClientHandles.h"

#include <firebird/Interface.h>
#include <string>

namespace catalogue::client {

Firebird::IMaster* Master();
Firebird::IUtil* Util();

// One status vector for the calls of one operation (pass &status); a call that fails throws
// FbException.
class Status : public Firebird::ThrowStatusWrapper {
public:
    Status();
    ~Status();
    Status(const Status&) = delete;
    Status& operator=(const Status&) = delete;
};

// The client library's text for a failure: every message of the status vector, as the client
// formats them (lines joined by "\n-").
std::string ErrorText(const Firebird::FbException& error);

// Which of the failures told in the programs' own words the client's failure is, if any.
CatalogueFailure FailureOf(const Firebird::FbException& error);

// Runs calls to the client; a failure leaves as CatalogueError carrying the client's text.
template <class Calls>
decltype(auto) Call(Calls&& calls)
{
    try {
        return calls();
    } catch (const Firebird::FbException& error) {
        throw CatalogueError(ErrorText(error), FailureOf(error));
    }
}

// Ends a client object with its closing call (a detach, a commit), through Call: the object is
// taken from its holder first; a closing call that succeeds releases it, one that fails leaves it
// to its release, which the client then closes its own way (a rollback, a forced detach).
template <class T, class Close>
void EndObject(ClientPtr<T>& holder, Close close)
{
    Call([&] {
        Status status;
        ClientPtr<T> object = std::move(holder);
        close(*object, status);
        [[maybe_unused]] T* released = object.release();
    });
}

// A fresh dispatcher, the provider that routes attachments to the embedded engine or a server.
ClientPtr<Firebird::IProvider> Dispatcher();

} // namespace catalogue::client
