#include "io/SongBytes.h"

#include <algorithm>

namespace io {

bool SongBytes::Open(const std::string& path, Readers readers)
{
    FileStatus status;
    if (!own_.Open(path, BinaryFile::Mode::Read, &status)) {
        Use(own_, 0, FileIdentity{}, readers);
        error_ = own_.LastError();
        return false;
    }
    Use(own_, status.length, status.identity, readers);
    return true;
}

void SongBytes::Use(const BinaryFile& file, std::int64_t length, FileIdentity identity, Readers readers)
{
    if (&file != &own_)
        own_.Close();
    file_ = &file;
    keep_ = readers == Readers::Several;
    windows_.clear();
    loose_ = Window{};
    length_ = length;
    identity_ = identity;
    lastReadFailed_ = false;
    error_ = 0;
}

std::int64_t SongBytes::ReadAt(std::int64_t offset, std::span<std::uint8_t> buffer)
{
    if (offset < 0 || !IsOpen())
        return -1;
    if (!keep_)
        return ReadUnkept(offset, buffer);
    const std::span<const std::uint8_t> bytes = View(offset, static_cast<std::int64_t>(buffer.size()));
    if (lastReadFailed_)
        return -1;
    std::copy(bytes.begin(), bytes.end(), buffer.begin());
    return static_cast<std::int64_t>(bytes.size());
}

std::int64_t SongBytes::ReadPassing(std::int64_t offset, std::span<std::uint8_t> buffer)
{
    if (offset < 0 || !IsOpen())
        return -1;
    lastReadFailed_ = false;
    const std::int64_t wanted = std::clamp<std::int64_t>(length_ - offset, 0, static_cast<std::int64_t>(buffer.size()));
    const Window* window = WindowAt(offset);
    if (window != nullptr && offset + wanted <= window->End()) {
        std::copy_n(window->Bytes.begin() + (offset - window->Start), wanted, buffer.begin());
        return wanted;
    }
    return ReadUnkept(offset, buffer);
}

std::int64_t SongBytes::ReadUnkept(std::int64_t offset, std::span<std::uint8_t> buffer)
{
    lastReadFailed_ = false;
    const std::int64_t wanted = std::clamp<std::int64_t>(length_ - offset, 0, static_cast<std::int64_t>(buffer.size()));
    if (wanted == 0)
        return 0;
    const std::int64_t got = ReadFile(offset, buffer.first(static_cast<std::size_t>(wanted)));
    return lastReadFailed_ ? -1 : got;
}

std::span<const std::uint8_t> SongBytes::View(std::int64_t offset, std::int64_t count)
{
    lastReadFailed_ = false;
    if (offset < 0 || count < 0 || !IsOpen()) {
        lastReadFailed_ = true;
        return {};
    }
    if (offset >= length_ || count == 0)
        return {};
    const std::int64_t end = offset + std::min(count, length_ - offset);
    try {
        Fill(offset, end);
    } catch (...) {
        // Only an allocation can fail: the kept bytes go, and the range counts as unread.
        windows_.clear();
        loose_ = Window{};
        lastReadFailed_ = true;
    }
    const bool readFailed = lastReadFailed_;
    lastReadFailed_ = false;

    const Window* window = WindowAt(offset);
    if (!window && loose_.Start <= offset && offset < loose_.End())
        window = &loose_;
    const std::int64_t available = window ? std::min(end, window->End()) - offset : 0;
    // An error in the widened part of a read does not fail a range that was read whole.
    lastReadFailed_ = readFailed && available < end - offset;
    if (available <= 0)
        return {};
    return std::span<const std::uint8_t>(window->Bytes)
        .subspan(static_cast<std::size_t>(offset - window->Start), static_cast<std::size_t>(available));
}

void SongBytes::Fill(std::int64_t begin, std::int64_t end)
{
    if (!keep_) {
        ReadLoose(begin, end);
        return;
    }
    if (begin < kHeadWindow) {
        begin = 0;
        end = std::max(end, kHeadWindow);
    }
    if (begin >= length_ - kTailWindow)
        end = length_;
    end = std::min(end, length_);
    if (begin >= end)
        return;

    // The windows that overlap or touch [begin, end) become one.
    const auto first = std::find_if(windows_.begin(), windows_.end(), [&](const Window& w) { return w.End() >= begin; });
    const auto last = std::find_if(first, windows_.end(), [&](const Window& w) { return w.Start > end; });
    if (first == last && windows_.size() >= kMostWindows) {
        ReadLoose(begin, end);
        return;
    }

    Window merged;
    auto next = first;
    if (next != last && next->Start <= begin) {
        merged = std::move(*next); // the bytes before the gap stay where they are
        ++next;
    } else {
        merged.Start = begin;
    }
    // Appends the file's bytes from merged's end up to `until`; false when they ran short.
    const auto readGap = [&](std::int64_t until) {
        const std::int64_t from = merged.End();
        const std::size_t had = merged.Bytes.size();
        const auto wanted = static_cast<std::size_t>(until - from);
        merged.Bytes.resize(had + wanted);
        const std::int64_t got = ReadFile(from, std::span(merged.Bytes).subspan(had));
        merged.Bytes.resize(had + static_cast<std::size_t>(got));
        return static_cast<std::size_t>(got) == wanted;
    };
    bool complete = true;
    for (; next != last; ++next) {
        if (merged.End() < next->Start && !(complete = readGap(next->Start)))
            break;
        merged.Bytes.insert(merged.Bytes.end(), next->Bytes.begin(), next->Bytes.end());
    }
    if (complete && merged.End() < end)
        readGap(end);

    // A gap that ran short leaves the windows after it as they were; they do not touch merged.
    const auto at = windows_.erase(first, next);
    if (!merged.Bytes.empty())
        windows_.insert(at, std::move(merged));
}

void SongBytes::ReadLoose(std::int64_t begin, std::int64_t end)
{
    if (loose_.Bytes.empty() || begin < loose_.Start || begin > loose_.End()) {
        loose_.Start = begin;
        loose_.Bytes.clear();
    }
    // A range that continues the loose one reads only its new part.
    const std::size_t had = loose_.Bytes.size();
    if (end <= loose_.End())
        return;
    loose_.Bytes.resize(static_cast<std::size_t>(end - loose_.Start));
    const std::int64_t got = ReadFile(loose_.Start + static_cast<std::int64_t>(had), std::span(loose_.Bytes).subspan(had));
    loose_.Bytes.resize(had + static_cast<std::size_t>(got));
}

std::int64_t SongBytes::ReadFile(std::int64_t begin, std::span<std::uint8_t> out)
{
    ++fileReads_;
    const std::int64_t got = file_->ReadAt(begin, out);
    if (got < 0) {
        lastReadFailed_ = true;
        error_ = file_->LastError();
        return 0;
    }
    fileBytesRead_ += got;
    return got;
}

std::int64_t SongBytes::KeptBytes() const
{
    std::int64_t kept = 0;
    for (const Window& w : windows_)
        kept += static_cast<std::int64_t>(w.Bytes.size());
    return kept;
}

const SongBytes::Window* SongBytes::WindowAt(std::int64_t offset) const
{
    for (const Window& w : windows_)
        if (w.Start <= offset && offset < w.End())
            return &w;
    return nullptr;
}

} // namespace io
