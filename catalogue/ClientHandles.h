#pragma once
// Owning pointers to the Firebird client's objects, usable without the client's headers. Each
// object is released exactly once; an attachment, transaction, statement or cursor released
// without being closed first is closed by the client library itself (detach, rollback, free).
#include <memory>

namespace Firebird {
class IAttachment;
class ITransaction;
class IStatement;
class IResultSet;
class IMessageMetadata;
class IMetadataBuilder;
class IProvider;
class IStatus;
} // namespace Firebird

namespace catalogue {

struct ClientRelease {
    void operator()(Firebird::IAttachment* object) const;
    void operator()(Firebird::ITransaction* object) const;
    void operator()(Firebird::IStatement* object) const;
    void operator()(Firebird::IResultSet* object) const;
    void operator()(Firebird::IMessageMetadata* object) const;
    void operator()(Firebird::IMetadataBuilder* object) const;
    void operator()(Firebird::IProvider* object) const;
    void operator()(Firebird::IStatus* object) const; // disposes
};

template <class T>
using ClientPtr = std::unique_ptr<T, ClientRelease>;

} // namespace catalogue
