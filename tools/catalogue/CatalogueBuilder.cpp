#include "tools/catalogue/CatalogueBuilder.h"

#include "catalogue/FirebirdClient.h"

#include <cstring>
#include <vector>

namespace catalogue::builder {
namespace {

using client::Call;
using client::Status;

void AppendItem(std::vector<std::uint8_t>& block, std::uint8_t tag, std::string_view value)
{
    block.push_back(tag);
    block.push_back(static_cast<std::uint8_t>(value.size()));
    block.insert(block.end(), value.begin(), value.end());
}

void AppendNumber(std::vector<std::uint8_t>& block, std::uint8_t tag, std::uint32_t value)
{
    block.push_back(tag);
    block.push_back(4);
    for (int i = 0; i < 4; ++i)
        block.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

// The creation's parameter block: credentials, dialect 1, character set, 8 KiB pages, and
// asynchronous writes (a test catalogue need not survive a power cut).
std::vector<std::uint8_t> CreationParameterBlock(const CreateOptions& options)
{
    std::vector<std::uint8_t> block{isc_dpb_version1};
    AppendItem(block, isc_dpb_user_name, options.credentials.userName);
    AppendItem(block, isc_dpb_password, options.credentials.password);
    AppendNumber(block, isc_dpb_sql_dialect, 1);
    AppendNumber(block, isc_dpb_page_size, 8192);
    AppendNumber(block, isc_dpb_force_write, 0);
    AppendItem(block, isc_dpb_set_db_charset, options.characterSet);
    return block;
}

// Parameters are sent as text (character set NONE) and converted by the server to the
// column's type.
constexpr unsigned kNonTextParameterLength = 64;

} // namespace

struct CatalogueBuilder::PreparedInsert {
    struct Slot {
        unsigned offset = 0;
        unsigned nullOffset = 0;
        unsigned length = 0;
    };
    ClientPtr<Firebird::IStatement> statement;
    ClientPtr<Firebird::IMessageMetadata> metadata;
    std::vector<Slot> slots;
    std::vector<std::uint8_t> message;
    std::vector<std::string> columns;
};

CatalogueBuilder::CatalogueBuilder(const std::string& databaseName, const CatalogueSchema& schema,
                                   const CreateOptions& options)
{
    const std::vector<std::uint8_t> dpb = CreationParameterBlock(options);
    Call([&] {
        Status status;
        const auto provider = client::Dispatcher();
        attachment_.reset(provider->createDatabase(&status, databaseName.c_str(), static_cast<unsigned>(dpb.size()),
                                                   dpb.data()));
        transaction_.reset(attachment_->startTransaction(&status, 0, nullptr));
    });
    for (const std::string& statement : SchemaStatements(schema))
        Execute(statement);
    // Tables become usable for rows once their creation is committed.
    Call([&] {
        Status status;
        transaction_->commitRetaining(&status);
    });
}

CatalogueBuilder::~CatalogueBuilder()
{
    inserts_.clear();
    transaction_.reset();
    attachment_.reset();
}

void CatalogueBuilder::Execute(std::string_view statement)
{
    Call([&] {
        Status status;
        attachment_->execute(&status, transaction_.get(), static_cast<unsigned>(statement.size()), statement.data(),
                             kSqlDialect, nullptr, nullptr, nullptr, nullptr);
    });
}

CatalogueBuilder::PreparedInsert& CatalogueBuilder::InsertFor(std::string_view table, const RowValues& values)
{
    std::string key(table);
    for (const auto& [column, value] : values)
        key += "\t" + column;
    if (const auto found = inserts_.find(key); found != inserts_.end())
        return *found->second;

    auto insert = std::make_unique<PreparedInsert>();
    std::string sql = "INSERT INTO " + std::string(table) + " (";
    std::string marks;
    for (std::size_t i = 0; i < values.size(); ++i) {
        sql += (i ? ", " : "") + values[i].first;
        marks += i ? ", ?" : "?";
        insert->columns.push_back(values[i].first);
    }
    sql += ") VALUES (" + marks + ")";
    Call([&] {
        Status status;
        insert->statement.reset(attachment_->prepare(&status, transaction_.get(), static_cast<unsigned>(sql.size()),
                                                     sql.c_str(), kSqlDialect, 0));
        ClientPtr<Firebird::IMessageMetadata> declared(insert->statement->getInputMetadata(&status));
        ClientPtr<Firebird::IMetadataBuilder> builder(declared->getBuilder(&status));
        for (unsigned i = 0; i < values.size(); ++i) {
            const unsigned type = declared->getType(&status, i) & ~1u;
            const bool text = type == SQL_TEXT || type == SQL_VARYING;
            builder->setType(&status, i, SQL_VARYING + 1);
            builder->setCharSet(&status, i, 0);
            builder->setLength(&status, i, text ? declared->getLength(&status, i) : kNonTextParameterLength);
        }
        insert->metadata.reset(builder->getMetadata(&status));
        insert->message.resize(insert->metadata->getMessageLength(&status));
        for (unsigned i = 0; i < values.size(); ++i) {
            insert->slots.push_back({insert->metadata->getOffset(&status, i),
                                     insert->metadata->getNullOffset(&status, i),
                                     insert->metadata->getLength(&status, i)});
        }
    });
    return *inserts_.emplace(std::move(key), std::move(insert)).first->second;
}

void CatalogueBuilder::Insert(std::string_view table, const RowValues& values)
{
    PreparedInsert& insert = InsertFor(table, values);
    for (std::size_t i = 0; i < values.size(); ++i) {
        const PreparedInsert::Slot& slot = insert.slots[i];
        const std::string& value = values[i].second;
        if (value.size() > slot.length) {
            throw CatalogueError("value of " + std::string(table) + "." + values[i].first + " longer than " +
                                 std::to_string(slot.length) + " bytes");
        }
        const std::int16_t notNull = 0;
        const auto length = static_cast<std::uint16_t>(value.size());
        std::memcpy(insert.message.data() + slot.nullOffset, &notNull, sizeof notNull);
        std::memcpy(insert.message.data() + slot.offset, &length, sizeof length);
        std::memcpy(insert.message.data() + slot.offset + sizeof length, value.data(), value.size());
    }
    Call([&] {
        Status status;
        insert.statement->execute(&status, transaction_.get(), insert.metadata.get(), insert.message.data(), nullptr,
                                  nullptr);
    });
}

void CatalogueBuilder::Finish()
{
    inserts_.clear();
    Call([&] {
        Status status;
        auto transaction = std::move(transaction_);
        transaction->commit(&status);
        (void)transaction.release(); // a successful commit has freed the client object
        auto attachment = std::move(attachment_);
        attachment->detach(&status);
        (void)attachment.release(); // likewise the detach
    });
}

void BuildCatalogue(const std::string& databaseName, const CatalogueDescription& description,
                    const CreateOptions& options)
{
    CatalogueBuilder builder(databaseName, description.schema, options);
    for (const TableRow& row : description.rows)
        builder.Insert(row.table, row.values);
    builder.Finish();
}

} // namespace catalogue::builder
