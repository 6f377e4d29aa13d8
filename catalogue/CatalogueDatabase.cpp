#include "catalogue/CatalogueDatabase.h"

#include "catalogue/StopSignalNumbers.h"

#include "catalogue/ExitGuard.h"
#include "catalogue/FirebirdClient.h"

#include <array>
#include <csignal>

namespace catalogue {
namespace {

// The signals that ask a program to end. The embedded engine installs handlers of its own for
// some of them when it first attaches; the program's own (or the default action) are put back
// after every attach, so that the catalogue never changes how the program ends.
class KeptEndSignals {
public:
    KeptEndSignals()
    {
        for (std::size_t i = 0; i < kSignals.size(); ++i)
            sigaction(kSignals[i], nullptr, &saved_[i]);
    }
    ~KeptEndSignals()
    {
        for (std::size_t i = 0; i < kSignals.size(); ++i)
            sigaction(kSignals[i], &saved_[i], nullptr);
    }
    KeptEndSignals(const KeptEndSignals&) = delete;
    KeptEndSignals& operator=(const KeptEndSignals&) = delete;

private:
    static constexpr const auto& kSignals = kStopSignals;
    std::array<struct sigaction, kStopSignals.size()> saved_{};
};

} // namespace

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
    const KeptEndSignals kept;
    // After the attach, so that the guard runs before the exit handler the engine registered in it;
    // also after one that failed, which has loaded the engine and its shutdown all the same.
    try {
        client::Call([&] {
            client::Status status;
            const auto provider = client::Dispatcher();
            attachment_.reset(provider->attachDatabase(&status, databaseName_.c_str(),
                                                       static_cast<unsigned>(dpb.size()), dpb.data()));
        });
    } catch (...) {
        exit_guard::Arm();
        throw;
    }
    exit_guard::Arm();
}

void CatalogueDatabase::Disconnect()
{
    if (!Connected())
        return;
    client::EndObject(attachment_, [](Firebird::IAttachment& attachment, client::Status& status) { attachment.detach(&status); });
}

} // namespace catalogue
