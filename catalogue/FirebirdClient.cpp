#include "catalogue/FirebirdClient.h"

#include <vector>

namespace catalogue {

void ClientRelease::operator()(Firebird::IAttachment* object) const { object->release(); }
void ClientRelease::operator()(Firebird::ITransaction* object) const { object->release(); }
void ClientRelease::operator()(Firebird::IStatement* object) const { object->release(); }
void ClientRelease::operator()(Firebird::IResultSet* object) const { object->release(); }
void ClientRelease::operator()(Firebird::IMessageMetadata* object) const { object->release(); }
void ClientRelease::operator()(Firebird::IMetadataBuilder* object) const { object->release(); }
void ClientRelease::operator()(Firebird::IProvider* object) const { object->release(); }
void ClientRelease::operator()(Firebird::IStatus* object) const { object->dispose(); }

namespace client {

Firebird::IMaster* Master()
{
    return Firebird::fb_get_master_interface();
}

Firebird::IUtil* Util()
{
    return Master()->getUtilInterface();
}

Status::Status()
    : ThrowStatusWrapper(Master()->getStatus())
{
}

Status::~Status()
{
    dispose();
}

std::string ErrorText(const Firebird::FbException& error)
{
    // The client cuts its text to the buffer; a longer buffer is tried while it comes back full.
    for (unsigned size = 4096;; size *= 4) {
        std::vector<char> buffer(size);
        const unsigned length = Util()->formatStatus(buffer.data(), size, error.getStatus());
        if (length + 1 < size || size >= (1u << 20))
            return std::string(buffer.data(), length);
    }
}

CatalogueFailure FailureOf(const Firebird::FbException& error)
{
    // The status vector: (argument type, value) pairs up to isc_arg_end; a counted string takes
    // two values.
    const ISC_STATUS* item = error.getStatus()->getErrors();
    while (item && *item != isc_arg_end) {
        const ISC_STATUS type = *item++;
        // "Database already opened with engine instance, incompatible with current" (the
        // engine of another process has the file open), or its other text for that conflict.
        if (type == isc_arg_gds && (*item == isc_already_opened || *item == isc_instance_conflict))
            return CatalogueFailure::OpenInAnotherProgram;
        // "Your user name and password are not defined."
        if (type == isc_arg_gds && *item == isc_login)
            return CatalogueFailure::LoginRefused;
        item += type == isc_arg_cstring ? 2 : 1;
    }
    return CatalogueFailure::Other;
}

ClientPtr<Firebird::IProvider> Dispatcher()
{
    return ClientPtr<Firebird::IProvider>(Master()->getDispatcher());
}

} // namespace client
} // namespace catalogue
