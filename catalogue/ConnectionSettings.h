#pragma once
// The fixed settings of the catalogue connection and its transaction.
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace catalogue {

// Every statement on the catalogue connection is prepared in SQL dialect 1.
inline constexpr unsigned kSqlDialect = 1;

struct Credentials {
    std::string userName = "SYSDBA";
    std::string password = "quillmoss";
};

// isc_dpb_version1, then the user name and the password items; nothing else.
std::vector<std::uint8_t> DatabaseParameterBlock(const Credentials& credentials);

// isc_tpb_version3, isc_tpb_read_committed, isc_tpb_rec_version, isc_tpb_nowait: bytes 3, 15, 17, 7.
std::span<const std::uint8_t> TransactionParameterBlock();

} // namespace catalogue
