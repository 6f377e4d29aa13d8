#pragma once
// The general error report: how an error that no handler catches is shown to the user.
#include <string>
#include <string_view>

namespace app {

class MessageBoxes;

// The report's text: the error's own text with a full stop appended when it is not empty and
// its last byte is above "." (0x2E) — letters, digits and accented letters get one; texts that
// already end in ".", "!", ")" or a blank do not. Bytes are Windows-1252.
std::string ReportText(std::string_view errorText);

// Shows the error in a modal box: caption "Fonarel 2010", the stop icon, one OK button.
void ReportError(MessageBoxes& boxes, std::string_view errorText);

} // namespace app
