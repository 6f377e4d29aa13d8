#include "catalogue/CatalogueTransaction.h"

#include "catalogue/CatalogueDatabase.h"
#include "catalogue/ConnectionSettings.h"
#include "catalogue/FirebirdClient.h"
#include "catalogue/Messages.h"

namespace catalogue {

CatalogueTransaction::CatalogueTransaction() = default;
CatalogueTransaction::~CatalogueTransaction() = default;

void CatalogueTransaction::Start(const CatalogueDatabase& database)
{
    if (Active())
        return;
    if (!database.Connected())
        throw CatalogueError(SystemText("Não há conexão com a base de dados"));
    const auto tpb = TransactionParameterBlock();
    client::Call([&] {
        client::Status status;
        transaction_.reset(database.Attachment()->startTransaction(&status, static_cast<unsigned>(tpb.size()),
                                                                   tpb.data()));
    });
}

void CatalogueTransaction::Commit()
{
    if (!Active())
        return;
    client::Call([&] {
        client::Status status;
        // A successful commit releases the object; a failed one leaves it for release(), which
        // rolls back.
        auto transaction = std::move(transaction_);
        transaction->commit(&status);
        transaction.release();
    });
}

} // namespace catalogue
