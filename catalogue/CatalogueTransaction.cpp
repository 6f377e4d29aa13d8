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
    client::EndObject(transaction_, [](Firebird::ITransaction& transaction, client::Status& status) { transaction.commit(&status); });
}

} // namespace catalogue
