#include "tagkit/U_Funcoes.h"

#include "tagkit/FileExtension.h"

#include <optional>

namespace tagkit {
namespace {

// The inspection of the song at hand, with its reader set; none while the reader set is absent.
// One per thread: the procedures are the design for one song at a time.
std::optional<SongExamination>& Current()
{
    static thread_local std::optional<SongExamination> current;
    return current;
}

} // namespace

void CreateTagObjects(std::string_view Extension)
{
    if (IsMp3Extension(Extension))
        Current().emplace();
    ClearTagRecord();
}

void ClearTagRecord()
{
    if (Current())
        Current()->Clear();
}

void LoadFileInfo(const std::string& FileName)
{
    ClearTagRecord();
    if (FileName.empty())
        return;
    if (!Current())
        CreateTagObjects(ExtensionOf(FileName));
    if (Current())
        *Current() = SongExamination::Of(FileName, Access::ReadOnly());
}

bool SaveTagInfo(const std::string& FileName, const TagValues& values)
{
    std::optional<SongExamination>& current = Current();
    bool written = false;
    if (current && current->Readiness() == Readiness::Ready && current->Path() == FileName) {
        const PlannedTag plan = current->Plan(values);
        written = current->Save(plan).Done();
    }
    ClearTagRecord();
    return written;
}

void FreeTagObjects(std::string_view /*Extension*/)
{
    ClearTagRecord();
    Current().reset();
}

const Tag& TagRecord()
{
    static const Tag empty;
    return Current() ? Current()->Record() : empty;
}

const audio::TMPEGaudio* AudioInfo()
{
    return Current() ? &Current()->AudioInfo() : nullptr;
}

const audio::TID3v1* ID3v1Tag()
{
    return Current() ? &Current()->ID3v1Tag() : nullptr;
}

const id3v2::TID3v2* ID3v2Tag()
{
    return Current() ? &Current()->ID3v2Tag() : nullptr;
}

} // namespace tagkit
