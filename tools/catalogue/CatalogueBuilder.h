#pragma once
// Creates a catalogue database in SQL dialect 1 and fills it, through the same Firebird client
// library the catalogue link uses (no isql needed). Works with a plain path (embedded engine)
// and with "host:/path" (the server creates the file, so it is the server's own).
#include "catalogue/ClientHandles.h"
#include "catalogue/ConnectionSettings.h"
#include "tools/catalogue/CatalogueDescription.h"

#include <map>
#include <memory>
#include <string>
#include <string_view>

namespace catalogue::builder {

struct CreateOptions {
    // The database's default character set; NONE keeps every byte as given.
    std::string characterSet = "NONE";
    Credentials credentials;
};

class CatalogueBuilder {
public:
    // Creates the database file (which must not exist yet) with the schema's tables and indexes,
    // and starts the transaction the rows go in. Throws CatalogueError with the client's text.
    CatalogueBuilder(const std::string& databaseName, const CatalogueSchema& schema, const CreateOptions& options = {});
    // Without Finish, the rows are rolled back; the tables stay.
    ~CatalogueBuilder();
    CatalogueBuilder(const CatalogueBuilder&) = delete;
    CatalogueBuilder& operator=(const CatalogueBuilder&) = delete;

    // Inserts one row; one prepared statement per table and column list serves every row.
    void Insert(std::string_view table, const RowValues& values);

    // Commits the rows and detaches.
    void Finish();

private:
    struct PreparedInsert;

    PreparedInsert& InsertFor(std::string_view table, const RowValues& values);
    void Execute(std::string_view statement);

    ClientPtr<Firebird::IAttachment> attachment_;
    ClientPtr<Firebird::ITransaction> transaction_;
    std::map<std::string, std::unique_ptr<PreparedInsert>, std::less<>> inserts_;
};

// Creates the database and fills it with the description's rows.
void BuildCatalogue(const std::string& databaseName, const CatalogueDescription& description,
                    const CreateOptions& options = {});

} // namespace catalogue::builder
