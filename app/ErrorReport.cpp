#include "app/ErrorReport.h"

#include "app/MessageBoxes.h"
#include "app/WindowText.h"

namespace app {

std::string ReportText(std::string_view errorText)
{
    std::string text(errorText);
    if (!text.empty() && static_cast<unsigned char>(text.back()) > static_cast<unsigned char>('.'))
        text += '.';
    return text;
}

void ReportError(MessageBoxes& boxes, std::string_view errorText)
{
    boxes.Show({ApplicationTitle(), FromCp1252(ReportText(errorText)), MessageIcon::Stop, MessagePlacement::OverWindow, {}});
}

} // namespace app
