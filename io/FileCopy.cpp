#include "io/FileCopy.h"

#include <cerrno>
#include <unistd.h>
#include <vector>

namespace io {
namespace {

constexpr std::size_t kBlockSize = std::size_t{1} << 20;

enum class KernelCopy { Done, Failed, Unsupported };

// copy_file_range until the source's end; Unsupported when the file systems do not allow it
// (the offsets then tell where the plain copy goes on). A failure leaves its number in `error`.
KernelCopy CopyInKernel(int source, std::int64_t& sourceOffset, int target, std::int64_t& targetOffset, int& error)
{
    for (;;) {
        off_t in = sourceOffset;
        off_t out = targetOffset;
        const ssize_t n = ::copy_file_range(source, &in, target, &out, kBlockSize * 64, 0);
        if (n == 0)
            return KernelCopy::Done;
        if (n < 0) {
            if (errno == EINTR)
                continue;
            if (errno == EXDEV || errno == ENOSYS || errno == EOPNOTSUPP || errno == EINVAL)
                return KernelCopy::Unsupported;
            error = errno;
            return KernelCopy::Failed;
        }
        sourceOffset += n;
        targetOffset += n;
    }
}

Outcome CopyInBlocks(const BinaryFile& source, std::int64_t sourceOffset, const BinaryFile& target, std::int64_t targetOffset)
{
    std::vector<std::uint8_t> block(kBlockSize);
    for (;;) {
        const std::int64_t got = source.ReadAt(sourceOffset, block);
        if (got < 0)
            return Outcome::Failure(Step::Read, source.LastError());
        if (got == 0)
            return Outcome::Success();
        if (!target.WriteAt(targetOffset, std::span(block).first(static_cast<std::size_t>(got))))
            return Outcome::Failure(Step::Write, target.LastError());
        sourceOffset += got;
        targetOffset += got;
    }
}

} // namespace

Outcome CopyToEnd(const BinaryFile& source, std::int64_t sourceOffset, const BinaryFile& target, std::int64_t targetOffset)
{
    int error = 0;
    switch (CopyInKernel(source.fd_, sourceOffset, target.fd_, targetOffset, error)) {
    case KernelCopy::Done:
        return Outcome::Success();
    case KernelCopy::Failed:
        return Outcome::Failure(Step::Copy, error);
    case KernelCopy::Unsupported:
        break;
    }
    return CopyInBlocks(source, sourceOffset, target, targetOffset);
}

} // namespace io
