#include "tools/catalogue/CatalogueFingerprint.h"

#include "catalogue/FirebirdClient.h"
#include "text/Trim.h"

#include <cstring>
#include <vector>

namespace catalogue::builder {
namespace {

using client::Call;
using client::Status;

std::uint64_t Fnv1a(std::uint64_t hash, const void* data, std::size_t size)
{
    const auto* bytes = static_cast<const std::uint8_t*>(data);
    for (std::size_t i = 0; i < size; ++i) {
        hash ^= bytes[i];
        hash *= 0x100000001B3ull;
    }
    return hash;
}

class Query {
public:
    Query(Firebird::IAttachment* attachment, Firebird::ITransaction* transaction, const std::string& sql)
    {
        Status status;
        statement_.reset(attachment->prepare(&status, transaction, static_cast<unsigned>(sql.size()), sql.c_str(),
                                             kSqlDialect, Firebird::IStatement::PREPARE_PREFETCH_METADATA));
        metadata_.reset(statement_->getOutputMetadata(&status));
        message_.resize(metadata_->getMessageLength(&status));
        cursor_.reset(statement_->openCursor(&status, transaction, nullptr, nullptr, metadata_.get(), 0));
    }

    bool Next()
    {
        Status status;
        return cursor_->fetchNext(&status, message_.data()) == Firebird::IStatus::RESULT_OK;
    }

    unsigned Columns()
    {
        Status status;
        return metadata_->getCount(&status);
    }

    bool IsNull(unsigned column)
    {
        Status status;
        std::int16_t flag;
        std::memcpy(&flag, message_.data() + metadata_->getNullOffset(&status, column), sizeof flag);
        return flag != 0;
    }

    // The value's bytes, without the unused tail of a VARCHAR.
    std::string_view Bytes(unsigned column)
    {
        Status status;
        const std::uint8_t* at = message_.data() + metadata_->getOffset(&status, column);
        std::size_t length = metadata_->getLength(&status, column);
        if ((metadata_->getType(&status, column) & ~1u) == SQL_VARYING) {
            std::uint16_t used;
            std::memcpy(&used, at, sizeof used);
            at += sizeof used;
            length = std::min<std::size_t>(used, length);
        }
        return {reinterpret_cast<const char*>(at), length};
    }

    std::string Text(unsigned column) { return std::string(text::TrimBlanks(Bytes(column))); }

private:
    ClientPtr<Firebird::IStatement> statement_;
    ClientPtr<Firebird::IMessageMetadata> metadata_;
    ClientPtr<Firebird::IResultSet> cursor_;
    std::vector<std::uint8_t> message_;
};

std::string TableLine(Firebird::IAttachment* attachment, Firebird::ITransaction* transaction, const std::string& table)
{
    std::string columns;
    Query fields(attachment, transaction,
                 "SELECT RF.RDB$FIELD_NAME, F.RDB$FIELD_TYPE, F.RDB$FIELD_LENGTH FROM RDB$RELATION_FIELDS RF "
                 "JOIN RDB$FIELDS F ON F.RDB$FIELD_NAME = RF.RDB$FIELD_SOURCE WHERE RF.RDB$RELATION_NAME = '" +
                     table + "' ORDER BY RF.RDB$FIELD_POSITION");
    while (fields.Next()) {
        std::int16_t type;
        std::int16_t length;
        std::memcpy(&type, fields.Bytes(1).data(), sizeof type);
        std::memcpy(&length, fields.Bytes(2).data(), sizeof length);
        columns += fields.Text(0) + ":" + std::to_string(type) + ":" + std::to_string(length) + ",";
    }
    // Rows are summed, not chained, so that their order does not count.
    std::uint64_t sum = 0;
    std::size_t rows = 0;
    Query contents(attachment, transaction, "SELECT * FROM " + table);
    const unsigned count = contents.Columns();
    while (contents.Next()) {
        std::uint64_t hash = 0xCBF29CE484222325ull;
        for (unsigned c = 0; c < count; ++c) {
            const bool null = contents.IsNull(c);
            hash = Fnv1a(hash, &null, sizeof null);
            const std::string_view bytes = null ? std::string_view() : contents.Bytes(c);
            const std::size_t size = bytes.size();
            hash = Fnv1a(hash, &size, sizeof size);
            hash = Fnv1a(hash, bytes.data(), bytes.size());
        }
        sum += hash;
        ++rows;
    }
    return table + " columns=" + columns + " rows=" + std::to_string(rows) + " sum=" + std::to_string(sum) + "\n";
}

} // namespace

std::string CatalogueFingerprint(const std::string& databaseName, const Credentials& credentials)
{
    const std::vector<std::uint8_t> dpb = DatabaseParameterBlock(credentials);
    return Call([&] {
        Status status;
        const auto provider = client::Dispatcher();
        ClientPtr<Firebird::IAttachment> attachment(
            provider->attachDatabase(&status, databaseName.c_str(), static_cast<unsigned>(dpb.size()), dpb.data()));
        const auto tpb = TransactionParameterBlock();
        ClientPtr<Firebird::ITransaction> transaction(
            attachment->startTransaction(&status, static_cast<unsigned>(tpb.size()), tpb.data()));
        std::vector<std::string> tables;
        {
            Query names(attachment.get(), transaction.get(),
                        "SELECT RDB$RELATION_NAME FROM RDB$RELATIONS WHERE COALESCE(RDB$SYSTEM_FLAG, 0) = 0 "
                        "ORDER BY RDB$RELATION_NAME");
            while (names.Next())
                tables.push_back(names.Text(0));
        }
        std::string fingerprint;
        for (const std::string& table : tables)
            fingerprint += TableLine(attachment.get(), transaction.get(), table);
        transaction->commit(&status);
        (void)transaction.release();
        attachment->detach(&status);
        (void)attachment.release();
        return fingerprint;
    });
}

} // namespace catalogue::builder
