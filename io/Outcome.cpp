#include "io/Outcome.h"

#include <system_error>

namespace io {

std::string_view StepName(Step step)
{
    switch (step) {
    case Step::None: return "";
    case Step::Open: return "open";
    case Step::Lock: return "lock";
    case Step::Read: return "read";
    case Step::Permissions: return "permissions";
    case Step::Create: return "create the rebuilt file";
    case Step::Attributes: return "copy the extended attributes";
    case Step::Write: return "write";
    case Step::Copy: return "copy the audio";
    case Step::Flush: return "flush";
    case Step::Close: return "close";
    case Step::Times: return "keep the times";
    case Step::Rename: return "rename";
    case Step::Build: return "build the tag";
    case Step::Keep: return "keep the old frames";
    }
    return "";
}

std::string CauseText(const Cause& cause)
{
    if (cause.step == Step::Build)
        return "the new tag is too large";
    if (cause.step == Step::Keep)
        return "the old tag is too large to keep its frames";
    std::string text(StepName(cause.step));
    if (cause.error != 0)
        text += (text.empty() ? "" : ": ") + std::system_category().message(cause.error);
    return text;
}

} // namespace io
