# The configuration file's reader; built here too when the catalogue folder is left out.
if(NOT TARGET fonarel_ini)
  add_library(fonarel_ini STATIC ${PROJECT_SOURCE_DIR}/catalogue/IniFile.cpp)
  target_include_directories(fonarel_ini PUBLIC ${PROJECT_SOURCE_DIR})
  if(FONAREL_FUZZ)
    target_compile_options(fonarel_ini PRIVATE -fsanitize=fuzzer-no-link)
  endif()
endif()
fonarel_fuzz_target(catalogue_ini catalogue_ini.cpp LIBS fonarel_ini)
