# The catalogue builder's description text; built here too when the catalogue folders are left out.
if(NOT TARGET fonarel_catalogue_description)
  add_library(fonarel_catalogue_description STATIC
    ${PROJECT_SOURCE_DIR}/tools/catalogue/CatalogueDescription.cpp
    ${PROJECT_SOURCE_DIR}/tools/catalogue/CatalogueSchema.cpp)
  target_include_directories(fonarel_catalogue_description PUBLIC ${PROJECT_SOURCE_DIR})
  if(FONAREL_FUZZ)
    target_compile_options(fonarel_catalogue_description PRIVATE -fsanitize=fuzzer-no-link)
  endif()
endif()
fonarel_fuzz_target(catalogue_description catalogue_description.cpp LIBS fonarel_catalogue_description)
