#pragma once
// Q_Musicas: the client-side result of the song query. Rows are fetched from the server only as
// they are asked for (by moving forward, going to a row or asking for a row count) and are kept
// until the list closes; a row's identity is its position in fetch order, from 0.
#include "catalogue/ClientHandles.h"
#include "catalogue/RowStore.h"
#include "catalogue/SongRecord.h"
#include "catalogue/SongRecordLayout.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace catalogue {

class CatalogueDatabase;
class CatalogueTransaction;

class SongList {
public:
    using RowId = std::size_t;

    SongList();
    ~SongList();
    SongList(const SongList&) = delete;
    SongList& operator=(const SongList&) = delete;

    // Closes the list, then prepares the statement in SQL dialect 1, checks that its result holds
    // the song record's columns, executes it within the transaction and fetches the first row;
    // the cursor then stands on it. Any failure leaves the list closed and is thrown as
    // CatalogueError (the client's text, or a text naming the missing or wrong column).
    void Open(const CatalogueDatabase& database, const CatalogueTransaction& transaction,
              std::string statementText);
    // Frees the statement and every kept row; the list is then empty.
    void Close();
    bool IsOpen() const { return open_; }
    const std::string& StatementText() const { return statementText_; }

    // Rows fetched so far; after FetchAll, the result's number of rows. 0 when closed.
    std::size_t RowCount() const { return rows_.Count(); }
    bool AllFetched() const { return open_ && cursor_ == nullptr; }
    // Fetches every remaining row; the cursor stays where it is. Does nothing when closed.
    void FetchAll();
    // Fetches until at least rowCount rows are kept or the result ends; whether there are that
    // many rows. False when closed.
    bool FetchUntil(std::size_t rowCount);

    // Cursor. The moves throw CatalogueError on a closed list.
    void First();
    // Moves to the next row, fetching it when needed; from the last row the cursor stays and the
    // end flag rises.
    void Next();
    // The end flag: raised by Next from the last row, and on a closed list or an empty result.
    bool Eof() const { return eof_; }
    bool HasCurrentRow() const { return open_ && current_ < rows_.Count(); }
    // The current row's identity (meaningful only while HasCurrentRow()).
    RowId CurrentRowId() const { return current_; }
    // Moves to a row by identity, fetching up to it; throws CatalogueError when the result has
    // no such row (the cursor then stays) or the list is closed.
    void GoTo(RowId row);

    // The current row's value as text (see SongRecord); empty when there is no current row.
    // Throws CatalogueError on a closed list.
    std::string_view Text(SongColumn column) const;
    SongRecord Current() const;
    // A kept row without moving the cursor; an invalid view when no such row is kept yet. Views
    // stay valid until the list closes.
    SongRecord Row(RowId row) const;

    // Heap bytes that the kept rows take.
    std::size_t KeptBytes() const { return rows_.KeptBytes(); }

private:
    void RequireOpen() const;
    bool FetchOne();
    void KeepFetchedRow();
    void EndOfResult();

    std::string statementText_;
    ClientPtr<Firebird::IStatement> statement_;
    ClientPtr<Firebird::IMessageMetadata> metadata_;
    ClientPtr<Firebird::IResultSet> cursor_;
    // One status vector for every fetch, rather than a new one per row.
    ClientPtr<Firebird::IStatus> fetchStatus_;
    std::unique_ptr<std::uint8_t[]> message_;
    SongRecordLayout layout_;
    RowStore rows_;
    bool open_ = false;
    bool eof_ = true;
    RowId current_ = 0;
};

} // namespace catalogue
