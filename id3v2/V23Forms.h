#pragma once
// What a frame of a version 2.2 or 2.4 tag becomes in a version 2.3 tag, declared once: the
// version 2.3 ID of every version 2.2 frame that has one, and the version 2.4 frames that
// version 2.3 lacks. A 2.2 frame missing from the first table has no 2.3 form; a 2.4 frame
// missing from the second keeps its ID.
#include <algorithm>
#include <array>
#include <cstdint>
#include <string_view>

namespace id3v2 {

// How a version 2.2 frame's data changes on the way.
enum class V22Change : std::uint8_t {
    None,    // the same layout under the longer ID
    Picture, // a three-letter image format becomes a MIME type
    Link,    // the linked frame's three-letter ID becomes its four-letter one
};

struct V22Form {
    std::string_view idV22;
    std::string_view idV23;
    V22Change change;
};

inline constexpr std::array kV22Forms = std::to_array<V22Form>({
    {"BUF", "RBUF", V22Change::None}, {"CNT", "PCNT", V22Change::None}, {"COM", "COMM", V22Change::None},
    {"CRA", "AENC", V22Change::None}, {"EQU", "EQUA", V22Change::None}, {"ETC", "ETCO", V22Change::None},
    {"GEO", "GEOB", V22Change::None}, {"GP1", "GRP1", V22Change::None}, {"IPL", "IPLS", V22Change::None},
    {"LNK", "LINK", V22Change::Link}, {"MCI", "MCDI", V22Change::None}, {"MLL", "MLLT", V22Change::None},
    {"MVI", "MVIN", V22Change::None}, {"MVN", "MVNM", V22Change::None}, {"PIC", "APIC", V22Change::Picture},
    {"POP", "POPM", V22Change::None}, {"REV", "RVRB", V22Change::None}, {"RVA", "RVAD", V22Change::None},
    {"SLT", "SYLT", V22Change::None}, {"STC", "SYTC", V22Change::None}, {"TAL", "TALB", V22Change::None},
    {"TBP", "TBPM", V22Change::None}, {"TCM", "TCOM", V22Change::None}, {"TCO", "TCON", V22Change::None},
    {"TCP", "TCMP", V22Change::None}, {"TCR", "TCOP", V22Change::None}, {"TDA", "TDAT", V22Change::None},
    {"TDY", "TDLY", V22Change::None}, {"TEN", "TENC", V22Change::None}, {"TFT", "TFLT", V22Change::None},
    {"TIM", "TIME", V22Change::None}, {"TKE", "TKEY", V22Change::None}, {"TLA", "TLAN", V22Change::None},
    {"TLE", "TLEN", V22Change::None}, {"TMT", "TMED", V22Change::None}, {"TOA", "TOPE", V22Change::None},
    {"TOF", "TOFN", V22Change::None}, {"TOL", "TOLY", V22Change::None}, {"TOR", "TORY", V22Change::None},
    {"TOT", "TOAL", V22Change::None}, {"TP1", "TPE1", V22Change::None}, {"TP2", "TPE2", V22Change::None},
    {"TP3", "TPE3", V22Change::None}, {"TP4", "TPE4", V22Change::None}, {"TPA", "TPOS", V22Change::None},
    {"TPB", "TPUB", V22Change::None}, {"TRC", "TSRC", V22Change::None}, {"TRD", "TRDA", V22Change::None},
    {"TRK", "TRCK", V22Change::None}, {"TS2", "TSO2", V22Change::None}, {"TSC", "TSOC", V22Change::None},
    {"TSI", "TSIZ", V22Change::None}, {"TSS", "TSSE", V22Change::None}, {"TT1", "TIT1", V22Change::None},
    {"TT2", "TIT2", V22Change::None}, {"TT3", "TIT3", V22Change::None}, {"TXT", "TEXT", V22Change::None},
    {"TXX", "TXXX", V22Change::None}, {"TYE", "TYER", V22Change::None}, {"UFI", "UFID", V22Change::None},
    {"ULT", "USLT", V22Change::None}, {"WAF", "WOAF", V22Change::None}, {"WAR", "WOAR", V22Change::None},
    {"WAS", "WOAS", V22Change::None}, {"WCM", "WCOM", V22Change::None}, {"WCP", "WCOP", V22Change::None},
    {"WPB", "WPUB", V22Change::None}, {"WXX", "WXXX", V22Change::None},
});

// What becomes of a version 2.4 frame that version 2.3 lacks.
enum class V24Change : std::uint8_t {
    Dropped,        // no version 2.3 form
    DayAndTime,     // the recording time gives TDAT (DDMM) and TIME (HHMM); its year is the table's
    OriginalYear,   // the original release time gives TORY
    InvolvedPeople, // the people lists join in one IPLS
};

struct V24Form {
    std::string_view id;
    V24Change change;
};

inline constexpr std::array kV24Forms = std::to_array<V24Form>({
    {"ASPI", V24Change::Dropped}, {"EQU2", V24Change::Dropped}, {"RVA2", V24Change::Dropped},
    {"SEEK", V24Change::Dropped}, {"SIGN", V24Change::Dropped}, {"TDEN", V24Change::Dropped},
    {"TDRL", V24Change::Dropped}, {"TDTG", V24Change::Dropped}, {"TMOO", V24Change::Dropped},
    {"TPRO", V24Change::Dropped}, {"TSOA", V24Change::Dropped}, {"TSOP", V24Change::Dropped},
    {"TSOT", V24Change::Dropped}, {"TSST", V24Change::Dropped}, {"TDRC", V24Change::DayAndTime},
    {"TDOR", V24Change::OriginalYear}, {"TIPL", V24Change::InvolvedPeople}, {"TMCL", V24Change::InvolvedPeople},
});

// The row of a version 2.2 ID; none (nullptr) when the frame has no version 2.3 form.
constexpr const V22Form* V22FormOf(std::string_view idV22)
{
    const auto row = std::find_if(kV22Forms.begin(), kV22Forms.end(), [idV22](const V22Form& f) { return f.idV22 == idV22; });
    return row == kV22Forms.end() ? nullptr : &*row;
}

// The row of a version 2.4 ID; none (nullptr) when version 2.3 has the frame as it is.
constexpr const V24Form* V24FormOf(std::string_view id)
{
    const auto row = std::find_if(kV24Forms.begin(), kV24Forms.end(), [id](const V24Form& f) { return f.id == id; });
    return row == kV24Forms.end() ? nullptr : &*row;
}

} // namespace id3v2
