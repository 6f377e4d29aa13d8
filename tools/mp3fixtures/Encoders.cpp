#include "tools/mp3fixtures/Encoders.h"

#include "tools/mp3fixtures/Command.h"

#include <cstdio>
#include <string>

namespace fixtures {

bool MakeWav(const std::string& wavPath, const Tone& tone)
{
    const std::string source = "sine=frequency=440:sample_rate=" + std::to_string(tone.sampleRate) +
                               ":duration=" + std::to_string(tone.seconds);
    const std::string noise = "anoisesrc=color=pink:amplitude=0.2:sample_rate=" + std::to_string(tone.sampleRate) +
                              ":duration=" + std::to_string(tone.seconds) +
                              (tone.noiseSeed >= 0 ? ":seed=" + std::to_string(tone.noiseSeed) : std::string());
    const CommandResult r = RunCommand({"ffmpeg", "-nostdin", "-hide_banner", "-loglevel", "error", "-y",
                                        "-f", "lavfi", "-i", source, "-f", "lavfi", "-i", noise,
                                        "-filter_complex", "amix=inputs=2:normalize=0",
                                        "-ac", std::to_string(tone.channels), "-c:a", "pcm_s16le", wavPath});
    return r.exitCode == 0;
}

bool EncodeWithLame(const std::string& wavPath, const std::string& mp3Path, const std::vector<std::string>& args)
{
    std::vector<std::string> argv = {"lame", "--quiet", "--nohist"};
    argv.insert(argv.end(), args.begin(), args.end());
    argv.push_back(wavPath);
    argv.push_back(mp3Path);
    return RunCommand(argv).exitCode == 0;
}

bool EncodeWithTwolame(const std::string& wavPath, const std::string& mp3Path, const std::vector<std::string>& args)
{
    std::vector<std::string> argv = {"twolame", "--quiet"};
    argv.insert(argv.end(), args.begin(), args.end());
    argv.push_back(wavPath);
    argv.push_back(mp3Path);
    return RunCommand(argv).exitCode == 0;
}

bool EncodeWithFfmpeg(const std::string& wavPath, const std::string& mp3Path, const std::vector<std::string>& args)
{
    std::vector<std::string> argv = {"ffmpeg", "-nostdin", "-hide_banner", "-loglevel", "error", "-y",
                                     "-i", wavPath, "-map_metadata", "-1", "-id3v2_version", "0",
                                     "-write_xing", "1", "-c:a", "libmp3lame"};
    argv.insert(argv.end(), args.begin(), args.end());
    argv.push_back(mp3Path);
    return RunCommand(argv).exitCode == 0;
}

bool MakeMp3(const std::string& mp3Path, Encoder encoder, const std::vector<std::string>& args, const Tone& tone)
{
    const std::string wav = mp3Path + ".wav";
    bool ok = MakeWav(wav, tone);
    if (ok) {
        switch (encoder) {
        case Encoder::Lame: ok = EncodeWithLame(wav, mp3Path, args); break;
        case Encoder::Twolame: ok = EncodeWithTwolame(wav, mp3Path, args); break;
        case Encoder::Ffmpeg: ok = EncodeWithFfmpeg(wav, mp3Path, args); break;
        }
    }
    std::remove(wav.c_str());
    return ok;
}

} // namespace fixtures
