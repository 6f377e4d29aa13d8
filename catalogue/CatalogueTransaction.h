#pragma once
// Transaction_Audio: the one transaction of the catalogue connection, read committed, record
// version, no wait; started once and committed when the connection closes.
#include "catalogue/ClientHandles.h"

namespace catalogue {

class CatalogueDatabase;

class CatalogueTransaction {
public:
    CatalogueTransaction();
    ~CatalogueTransaction();
    CatalogueTransaction(const CatalogueTransaction&) = delete;
    CatalogueTransaction& operator=(const CatalogueTransaction&) = delete;

    bool Active() const { return transaction_ != nullptr; }

    // Starts the transaction with the fixed parameter block on a connected database; nothing
    // happens when it is already active. Throws CatalogueError on failure.
    void Start(const CatalogueDatabase& database);

    // Commits; the transaction is given up even when the commit fails (that failure is thrown).
    // Nothing happens when it is not active.
    void Commit();

    Firebird::ITransaction* Handle() const { return transaction_.get(); }

private:
    ClientPtr<Firebird::ITransaction> transaction_;
};

} // namespace catalogue
