// The command line's parts that need no catalogue: the options, the terminal's character set,
// the report's fields and the summary.
#include "batch/CommandOptions.h"
#include "batch/RunTally.h"
#include "batch/TerminalText.h"

#include <gtest/gtest.h>

#include <vector>

namespace batch {
namespace {

using namespace std::string_literals;

ParsedCommand Parse(std::vector<std::string_view> args)
{
    return ParseCommandOptions(args);
}

TEST(CommandOptions, ValuesFollowTheOptionOrAnEqualsSignAndCodesRepeat)
{
    const ParsedCommand parsed = Parse({"--database", "localhost:/srv/a.fdb", "--search=d'or", "--code", "7",
                                        "--code=-2", "--sort", "Mus.MUS_NOME", "--skip-unchanged", "-q", "--report", "r.tsv"});
    ASSERT_EQ(parsed.error, "");
    const CommandOptions& o = parsed.options;
    EXPECT_EQ(o.database, "localhost:/srv/a.fdb");
    EXPECT_EQ(o.search, "d'or");
    EXPECT_EQ(o.codes, (std::vector<std::int64_t>{7, -2}));
    EXPECT_EQ(o.sort, "Mus.MUS_NOME");
    EXPECT_TRUE(o.skipUnchanged && o.quiet && !o.dryRun);
    EXPECT_EQ(o.report, "r.tsv");
    EXPECT_EQ(Parse({}).options.sort, "Mus_Codigo");
    // A value that looks like an option is still the value.
    EXPECT_EQ(Parse({"--search", "--dry-run"}).options.search, "--dry-run");
}

TEST(CommandOptions, CodesAreDecimalAndSortColumnsAreNames)
{
    EXPECT_NE(Parse({"--code", "$1F"}).error, "");
    EXPECT_NE(Parse({"--code", "7 "}).error, "");
    EXPECT_NE(Parse({"--code", "99999999999"}).error, "");
    EXPECT_NE(Parse({"--sort", "1; DROP TABLE Tb_Musicas"}).error, "");
    EXPECT_NE(Parse({"--sort", ""}).error, "");
}

TEST(TerminalText, ALatin1TerminalGetsLatin1AndQuestionMarksForTheRest)
{
    const TerminalText latin1("ISO-8859-1");
    EXPECT_EQ(latin1.ToTerminal("Can\xC3\xA7\xC3\xA3o \xE2\x82\xAC"), "Can\xE7\xE3o ?");
    EXPECT_EQ(latin1.FromTerminal("S\xC3O"), "S\xC3\x83O");
    const TerminalText utf8("UTF-8");
    EXPECT_EQ(utf8.ToTerminal("ok \xC3\xA7 \xFF"), "ok \xC3\xA7 ?");
}

TEST(TerminalText, QuotedValuesAndReportFieldsEscapeWhatWouldBreakALine)
{
    const std::string value = "a\"b\\c\nd\te\0f\x7F\xC2\x92g\xC3\xA7"s;
    EXPECT_EQ(Quoted(value), R"("a\"b\\c\nd\te\0f\x7F\x92g)" "\xC3\xA7\"");
    EXPECT_EQ(TabField("a\tb\nc\\d\re"), R"(a\tb\nc\\d\re)");
}

TEST(RunTally, TheSummaryCountsEveryOutcomeAndSaysWhenTheRunWasCut)
{
    RunTally tally;
    tally.listed = 9;
    const auto count = [&tally](songs::SongOutcome outcome, std::string prefix = {}) {
        songs::SongWriteResult song;
        song.outcome = outcome;
        song.prefix = std::move(prefix);
        tally.Count(song);
    };
    for (songs::SongOutcome outcome : {songs::SongOutcome::Written, songs::SongOutcome::Unchanged, songs::SongOutcome::Missing,
                                     songs::SongOutcome::Failed, songs::SongOutcome::Busy})
        count(outcome);
    count(songs::SongOutcome::Unmapped, "M:\\");
    count(songs::SongOutcome::Unmapped, "\\\\SERVIDOR\\Acervo\\");
    count(songs::SongOutcome::Unmapped, "M:\\");
    const std::string summary = SummaryText(tally, false, true);
    EXPECT_EQ(summary, "interrupted after 8 of 9 songs\n"
                       "songs listed:                  9\n"
                       "written:                       1\n"
                       "unchanged (skipped):           1\n"
                       "not MP3:                       0\n"
                       "missing:                       1\n"
                       "unmapped:                      3\n"
                       "  M:\\                          2\n"
                       "  \\\\SERVIDOR\\Acervo\\           1\n"
                       "passed over:                   0\n"
                       "failed writes:                 1\n"
                       "busy (other writer):           1\n");
    EXPECT_NE(SummaryText(tally, true, false).find("would be written:              1\n"), std::string::npos);
    EXPECT_EQ(OutcomeWord(songs::SongOutcome::Busy), "busy");
}

} // namespace
} // namespace batch
