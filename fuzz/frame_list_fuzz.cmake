# The dry run's frame values come from the command line's library, which needs the catalogue link
# (the Firebird client); the harness builds the files it needs itself, so that it runs in the fuzz
# build, which has no catalogue.
fonarel_fuzz_target(frame_list frame_list.cpp LIBS fonarel_id3v2 fonarel_text)
foreach(target frame_list_replay frame_list_fuzzer)
  if(TARGET ${target})
    target_sources(${target} PRIVATE ${PROJECT_SOURCE_DIR}/batch/FrameChanges.cpp ${PROJECT_SOURCE_DIR}/batch/FrameValue.cpp
      ${PROJECT_SOURCE_DIR}/batch/FrameText.cpp ${PROJECT_SOURCE_DIR}/batch/PictureType.cpp
      ${PROJECT_SOURCE_DIR}/batch/TerminalText.cpp)
  endif()
endforeach()
