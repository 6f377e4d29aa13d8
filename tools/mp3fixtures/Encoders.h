#pragma once
// Real MP3 files for tests and benchmarks, made at run time by the encoders Debian ships.
#include <string>
#include <vector>

namespace fixtures {

struct Tone {
    double seconds = 2.0;
    int sampleRate = 44100;
    int channels = 2;
    // Seed of the noise; -1 picks a new one each time. A fixed seed makes the same file every
    // run, for tests whose expectations depend on the exact bytes an encoder writes.
    int noiseSeed = -1;
};

// Writes a 16-bit PCM WAV file of a sine tone (with a little noise, so that VBR encoders vary
// their frame sizes) through ffmpeg. False when ffmpeg fails.
bool MakeWav(const std::string& wavPath, const Tone& tone);

// Encodes a WAV file into an MP3 file. The extra arguments go to the encoder before the file
// names: for lame e.g. {"-b", "128"} or {"-V", "0"}; for twolame e.g. {"-b", "192"}; for
// ffmpeg's MP3 encoder e.g. {"-b:a", "128k"}. lame and twolame are run quiet and write no tag
// of their own unless asked; ffmpeg writes no metadata.
bool EncodeWithLame(const std::string& wavPath, const std::string& mp3Path, const std::vector<std::string>& args);
bool EncodeWithTwolame(const std::string& wavPath, const std::string& mp3Path, const std::vector<std::string>& args);
bool EncodeWithFfmpeg(const std::string& wavPath, const std::string& mp3Path, const std::vector<std::string>& args);

// Tone -> WAV -> MP3 in one call; the WAV is made next to the MP3 and removed.
enum class Encoder { Lame, Twolame, Ffmpeg };
bool MakeMp3(const std::string& mp3Path, Encoder encoder, const std::vector<std::string>& args, const Tone& tone = {});

} // namespace fixtures
