#include "catalogue/SongList.h"

#include "catalogue/CatalogueDatabase.h"
#include "catalogue/CatalogueTransaction.h"
#include "catalogue/ConnectionSettings.h"
#include "catalogue/FirebirdClient.h"
#include "catalogue/Messages.h"
#include "text/IntegerText.h"

#include <array>
#include <charconv>
#include <cstring>
#include <limits>
#include <vector>

namespace catalogue {
namespace {

FieldLayout LayoutOfType(unsigned type)
{
    switch (type & ~1u) {
    case SQL_TEXT:
        return FieldLayout::FixedText;
    case SQL_VARYING:
        return FieldLayout::VaryingText;
    case SQL_SHORT:
        return FieldLayout::Int16;
    case SQL_LONG:
        return FieldLayout::Int32;
    case SQL_INT64:
        return FieldLayout::Int64;
    default:
        return FieldLayout::Other;
    }
}

std::vector<ResultField> DescribeResult(Firebird::ThrowStatusWrapper* status, Firebird::IMessageMetadata* metadata)
{
    std::vector<ResultField> fields(metadata->getCount(status));
    for (unsigned i = 0; i < fields.size(); ++i) {
        ResultField& field = fields[i];
        field.name = metadata->getAlias(status, i);
        field.layout = LayoutOfType(metadata->getType(status, i));
        field.scale = metadata->getScale(status, i);
        field.offset = metadata->getOffset(status, i);
        field.nullOffset = metadata->getNullOffset(status, i);
        field.length = metadata->getLength(status, i);
    }
    return fields;
}

template <class Int>
Int ReadInteger(const std::uint8_t* at)
{
    Int value;
    std::memcpy(&value, at, sizeof value);
    return value;
}

using NumberText = std::array<char, 24>;

// The value of one record column in the fetched message; integers are written as text into
// scratch, which must outlive the returned view.
FieldValue ReadField(const std::uint8_t* message, const FieldSlot& slot, NumberText& scratch)
{
    if (ReadInteger<std::int16_t>(message + slot.nullOffset) != 0)
        return {};
    const std::uint8_t* at = message + slot.offset;
    std::int64_t number = 0;
    switch (slot.layout) {
    case FieldLayout::FixedText:
        return {false, std::string_view(reinterpret_cast<const char*>(at), slot.length)};
    case FieldLayout::VaryingText: {
        const unsigned length = std::min<unsigned>(ReadInteger<std::uint16_t>(at), slot.length);
        return {false, std::string_view(reinterpret_cast<const char*>(at + 2), length)};
    }
    case FieldLayout::Int16:
        number = ReadInteger<std::int16_t>(at);
        break;
    case FieldLayout::Int32:
        number = ReadInteger<std::int32_t>(at);
        break;
    case FieldLayout::Int64:
        number = ReadInteger<std::int64_t>(at);
        break;
    case FieldLayout::Other:
        return {};
    }
    const auto written = std::to_chars(scratch.data(), scratch.data() + scratch.size(), number);
    return {false, std::string_view(scratch.data(), static_cast<std::size_t>(written.ptr - scratch.data()))};
}

} // namespace

SongList::SongList() = default;

SongList::~SongList() = default;

void SongList::RequireOpen() const
{
    if (!open_)
        throw CatalogueError(SystemText("A lista de músicas está fechada"));
}

void SongList::Open(const CatalogueDatabase& database, const CatalogueTransaction& transaction,
                    std::string statementText)
{
    Close();
    statementText_ = std::move(statementText);
    if (!database.Connected() || !transaction.Active())
        throw CatalogueError(SystemText("Não há conexão com a base de dados"));
    try {
        std::vector<ResultField> fields;
        client::Call([&] {
            client::Status status;
            statement_.reset(database.Attachment()->prepare(
                &status, transaction.Handle(), static_cast<unsigned>(statementText_.size()), statementText_.data(),
                kSqlDialect, Firebird::IStatement::PREPARE_PREFETCH_METADATA));
            metadata_.reset(statement_->getOutputMetadata(&status));
            fields = DescribeResult(&status, metadata_.get());
        });
        layout_ = SongRecordLayout::Match(fields);
        client::Call([&] {
            client::Status status;
            message_ = std::make_unique<std::uint8_t[]>(metadata_->getMessageLength(&status));
            cursor_.reset(statement_->openCursor(&status, transaction.Handle(), nullptr, nullptr, metadata_.get(), 0));
        });
        open_ = true;
        current_ = 0;
        FetchOne();
        eof_ = rows_.Count() == 0;
    } catch (...) {
        Close();
        throw;
    }
}

void SongList::Close()
{
    cursor_.reset();
    metadata_.reset();
    statement_.reset();
    message_.reset();
    rows_.Clear();
    open_ = false;
    eof_ = true;
    current_ = 0;
}

bool SongList::FetchOne()
{
    if (cursor_ == nullptr)
        return false;
    if (fetchStatus_ == nullptr)
        fetchStatus_.reset(client::Master()->getStatus());
    const int result = client::Call([&] {
        Firebird::ThrowStatusWrapper status(fetchStatus_.get());
        return cursor_->fetchNext(&status, message_.get());
    });
    if (result != Firebird::IStatus::RESULT_OK) {
        EndOfResult();
        return false;
    }
    KeepFetchedRow();
    return true;
}

void SongList::KeepFetchedRow()
{
    std::array<FieldValue, kSongColumnCount> values;
    std::array<NumberText, kSongColumnCount> numbers;
    for (std::size_t i = 0; i < kSongColumnCount; ++i)
        values[i] = ReadField(message_.get(), layout_.Slot(static_cast<SongColumn>(i)), numbers[i]);
    rows_.Append(values);
}

void SongList::EndOfResult()
{
    // The server's cursor is closed as soon as the last row is in; the kept rows stay.
    auto cursor = std::move(cursor_);
    client::Call([&] {
        client::Status status;
        cursor->close(&status);
        (void)cursor.release(); // a successful close has freed the client object
    });
}

void SongList::FetchAll()
{
    while (FetchOne()) {
    }
}

bool SongList::FetchUntil(std::size_t rowCount)
{
    while (rows_.Count() < rowCount && FetchOne()) {
    }
    return open_ && rows_.Count() >= rowCount;
}

void SongList::First()
{
    RequireOpen();
    current_ = 0;
    eof_ = rows_.Count() == 0;
}

void SongList::Next()
{
    RequireOpen();
    if (current_ + 1 < rows_.Count() || (HasCurrentRow() && FetchOne())) {
        ++current_;
        eof_ = false;
    } else {
        eof_ = true;
    }
}

void SongList::GoTo(RowId row)
{
    RequireOpen();
    if (row == std::numeric_limits<RowId>::max() || !FetchUntil(row + 1))
        throw CatalogueError(SystemText("A linha " + text::DecimalText(static_cast<std::int64_t>(row)) +
                                        " não existe na lista de músicas"));
    current_ = row;
    eof_ = false;
}

SongRecord SongList::Current() const
{
    return HasCurrentRow() ? rows_.Row(current_) : SongRecord{};
}

std::string_view SongList::Text(SongColumn column) const
{
    RequireOpen();
    return Current().Text(column);
}

SongRecord SongList::Row(RowId row) const
{
    return open_ && row < rows_.Count() ? rows_.Row(row) : SongRecord{};
}

} // namespace catalogue
