#pragma once
// What became of an operation on a song's file, and, when the system refused it, at which step
// and with which error number. The same value travels from the file calls up to the song.
#include <cstdint>
#include <string>
#include <string_view>

namespace io {

// The step of a song's inspection or write at which a call failed.
enum class Step : std::uint8_t {
    None,
    Open,        // opening the song (for reading or for writing)
    Lock,        // taking the writers' lock
    Read,        // reading the song
    Permissions, // granting the owner write, or giving the rebuilt file the song's mode
    Create,      // creating the rebuilt file beside the song
    Attributes,  // giving the rebuilt file the song's extended attributes (its ACL among them)
    Write,       // writing the tag, in place or into the rebuilt file
    Copy,        // copying the audio into the rebuilt file
    Flush,       // flushing the rebuilt file to disk
    Close,       // closing the song after an in-place write (a deferred write error shows here)
    Times,       // giving the rebuilt file the song's times
    Rename,      // renaming the rebuilt file over the song
};

// Where and why: the step and the system's error number (0 when the system gave none).
struct Cause {
    Step step = Step::None;
    int error = 0;
    bool operator==(const Cause&) const = default;
};

struct Outcome {
    enum class Kind : std::uint8_t {
        Done,    // the operation did what it was asked
        Failed,  // the system refused a step (cause); what was written is as it was
        Busy,    // another writer held the song for the whole wait
        Changed, // the path names another file now (a writer replaced the song)
    };
    Kind kind = Kind::Done;
    Cause cause;
    // A rebuild found the "~" file an earlier rebuild left behind, and removed it.
    bool removedLeftover = false;

    bool Done() const { return kind == Kind::Done; }
    static Outcome Success() { return {}; }
    static Outcome Failure(Step step, int error) { return {Kind::Failed, {step, error}}; }
    static Outcome Busy() { return {Kind::Busy, {}}; }
    static Outcome Changed() { return {Kind::Changed, {}}; }
};

// The step's name as a person reads it: "open", "rename", ...
std::string_view StepName(Step step);

// "rename: No space left on device"; the step alone when the system gave no error number.
std::string CauseText(const Cause& cause);

} // namespace io
