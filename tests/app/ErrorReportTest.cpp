#include "app/ErrorReport.h"
#include "app/MessageBoxes.h"

#include <gtest/gtest.h>

namespace app {
namespace {

TEST(ReportText, FullStopOnlyAfterACharacterAboveTheFullStop)
{
    EXPECT_EQ(ReportText(""), "");
    EXPECT_EQ(ReportText("Erro."), "Erro.");
    EXPECT_EQ(ReportText("Erro!"), "Erro!");
    EXPECT_EQ(ReportText("Erro"), "Erro.");
    EXPECT_EQ(ReportText("code 335544344"), "code 335544344.");
    EXPECT_EQ(ReportText("(ok)"), "(ok)");
    EXPECT_EQ(ReportText("line\n"), "line\n");
    EXPECT_EQ(ReportText("/"), "/.");
    EXPECT_EQ(ReportText("n\xE3o"), "n\xE3o.");
}

class Recorded final : public MessageBoxes {
public:
    void Show(const MessageRequest& request) override { last = request; }
    MessageRequest last;
};

TEST(ReportError, StopIconTitleAndTextFromTheCodePage)
{
    Recorded boxes;
    ReportError(boxes, "Tabela n\xE3o encontrada");
    EXPECT_EQ(boxes.last.caption, "Fonarel 2010");
    EXPECT_EQ(boxes.last.icon, MessageIcon::Stop);
    EXPECT_EQ(boxes.last.text, QStringLiteral("Tabela não encontrada."));
}

} // namespace
} // namespace app
