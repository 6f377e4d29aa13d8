#include "catalogue/ConnectionSettings.h"

#include "catalogue/CatalogueError.h"

#include <array>
#include <ibase.h>

namespace catalogue {
namespace {

// One clumplet: tag, length byte, value bytes.
void AppendItem(std::vector<std::uint8_t>& block, std::uint8_t tag, const std::string& value)
{
    if (value.size() > 255)
        throw CatalogueError("parameter value longer than 255 bytes");
    block.push_back(tag);
    block.push_back(static_cast<std::uint8_t>(value.size()));
    block.insert(block.end(), value.begin(), value.end());
}

constexpr std::array<std::uint8_t, 4> kTransactionBlock = {
    isc_tpb_version3, isc_tpb_read_committed, isc_tpb_rec_version, isc_tpb_nowait};
static_assert(kTransactionBlock == std::array<std::uint8_t, 4>{3, 15, 17, 7});

} // namespace

std::vector<std::uint8_t> DatabaseParameterBlock(const Credentials& credentials)
{
    std::vector<std::uint8_t> block{isc_dpb_version1};
    AppendItem(block, isc_dpb_user_name, credentials.userName);
    AppendItem(block, isc_dpb_password, credentials.password);
    return block;
}

std::span<const std::uint8_t> TransactionParameterBlock()
{
    return kTransactionBlock;
}

} // namespace catalogue
