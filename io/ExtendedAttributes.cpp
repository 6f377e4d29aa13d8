#include "io/ExtendedAttributes.h"

#include <algorithm>
#include <cerrno>
#include <string>
#include <string_view>
#include <sys/xattr.h>
#include <vector>

namespace io {
namespace {

// The room first given to a list or a value: most fit, so that one call reads them.
constexpr std::size_t kFirstRoom = 4096;

// Reads a list or a value of unknown size into `out`: with the room it has, and when that is too
// small, again after asking its size. A negative size is the call's failure (errno tells).
template <typename Call>
ssize_t ReadSized(std::vector<char>& out, Call call)
{
    out.resize(std::max(out.size(), kFirstRoom));
    for (;;) {
        const ssize_t got = call(out.data(), out.size());
        if (got >= 0) {
            out.resize(static_cast<std::size_t>(got));
            return got;
        }
        if (errno != ERANGE)
            return got;
        const ssize_t size = call(nullptr, 0);
        if (size < 0)
            return size;
        out.resize(static_cast<std::size_t>(size) + 1);
    }
}

bool KeepsNoAttributes(int error)
{
    return error == ENOTSUP || error == ENOSYS;
}

} // namespace

Outcome CopyExtendedAttributes(const BinaryFile& source, const BinaryFile& target)
{
    std::vector<char> names;
    const ssize_t listed = ReadSized(names, [&](char* buffer, std::size_t size) {
        return ::flistxattr(source.fd_, buffer, size);
    });
    if (listed < 0)
        return KeepsNoAttributes(errno) ? Outcome::Success() : Outcome::Failure(Step::Attributes, errno);
    std::vector<char> value;
    for (std::size_t at = 0; at < names.size();) {
        value.resize(kFirstRoom);
        const std::string name(names.data() + at);
        at += name.size() + 1;
        const ssize_t size = ReadSized(value, [&](char* buffer, std::size_t room) {
            return ::fgetxattr(source.fd_, name.c_str(), buffer, room);
        });
        if (size < 0 && errno == ENODATA)
            continue; // gone since the list was read
        if (size < 0)
            return Outcome::Failure(Step::Attributes, errno);
        value.resize(static_cast<std::size_t>(size));
        if (::fsetxattr(target.fd_, name.c_str(), value.data(), value.size(), 0) != 0)
            return Outcome::Failure(Step::Attributes, errno);
    }
    return Outcome::Success();
}

} // namespace io
