#pragma once
// DB_Audio: the one attachment to the catalogue database.
#include "catalogue/ClientHandles.h"
#include "catalogue/ConnectionSettings.h"

#include <string>

namespace catalogue {

class CatalogueDatabase {
public:
    explicit CatalogueDatabase(std::string databaseName, Credentials credentials = {});
    ~CatalogueDatabase();
    CatalogueDatabase(const CatalogueDatabase&) = delete;
    CatalogueDatabase& operator=(const CatalogueDatabase&) = delete;

    // A file path for the embedded engine, or any connection string the client accepts
    // ("host:/path/file.fdb"). Takes effect at the next Connect.
    void SetDatabaseName(std::string databaseName) { databaseName_ = std::move(databaseName); }
    const std::string& DatabaseName() const { return databaseName_; }
    // The user and password of the attach; take effect at the next Connect.
    void SetCredentials(Credentials credentials) { credentials_ = std::move(credentials); }
    const Credentials& UsedCredentials() const { return credentials_; }

    bool Connected() const { return attachment_ != nullptr; }

    // Attaches with the fixed parameter block; nothing happens when already connected.
    // Throws CatalogueError with the client's text when the attach fails. The handlers of
    // SIGTERM, SIGINT and SIGHUP are as they were before, whatever the engine installs.
    void Connect();

    // Detaches; the attachment is given up even when the detach fails (that failure is thrown).
    // Nothing happens when not connected. Any transaction must have ended before.
    void Disconnect();

    Firebird::IAttachment* Attachment() const { return attachment_.get(); }

private:
    std::string databaseName_;
    Credentials credentials_;
    ClientPtr<Firebird::IAttachment> attachment_;
};

} // namespace catalogue
