fonarel_fuzz_target(id3v2_read id3v2_read.cpp LIBS fonarel_id3v2)
