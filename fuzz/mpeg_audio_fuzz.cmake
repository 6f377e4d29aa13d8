fonarel_fuzz_target(mpeg_audio mpeg_audio.cpp LIBS fonarel_audio)
