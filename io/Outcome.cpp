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
    }
    return "";
}

std::string CauseText(const Cause& cause)
{
    std::string text(StepName(cause.step));
    if (cause.error != 0)
        text += (text.empty() ? "" : ": ") + std::system_category().message(cause.error);
    return text;
}

} // namespace io
