#include "catalogue/CatalogueDatabase.h"

#include "catalogue/FirebirdClient.h"

namespace catalogue {

CatalogueDatabase::CatalogueDatabase(std::string databaseName, Credentials credentials)
    : databaseName_(std::move(databaseName))
    , credentials_(std::move(credentials))
{
}

CatalogueDatabase::~CatalogueDatabase() = default;

void CatalogueDatabase::Connect()
{
    if (Connected())
        return;
    const std::vector<std::uint8_t> dpb = DatabaseParameterBlock(credentials_);
    client::Call([&] {
        client::Status status;
        const auto provider = client::Dispatcher();
        attachment_.reset(provider->attachDatabase(&status, databaseName_.c_str(),
                                                   static_cast<unsigned>(dpb.size()), dpb.data()));
    });
}

void CatalogueDatabase::Disconnect()
{
    if (!Connected())
        return;
    client::Call([&] {
        client::Status status;
        // A successful detach releases the object; a failed one leaves it for release().
        auto attachment = std::move(attachment_);
        attachment->detach(&status);
        attachment.release();
    });
}

} // namespace catalogue
