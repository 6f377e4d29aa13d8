#pragma once
// A fingerprint of every user table of a catalogue database: its columns and a checksum of its
// rows. Two fingerprints are equal when no table, column or row was added, removed or changed.
#include "catalogue/ConnectionSettings.h"

#include <string>

namespace catalogue::builder {

// One line per table, in name order: "TABLE columns=... rows=N sum=H". Opens its own connection
// and transaction; throws CatalogueError with the client's text.
std::string CatalogueFingerprint(const std::string& databaseName, const Credentials& credentials = {});

} // namespace catalogue::builder
