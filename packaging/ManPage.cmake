# Writes a manual page as installed: its title line names the project's version, and it is
# compressed as Debian's manuals are (gzip -9, without the source's name and time).
#   cmake -DSOURCE=page.1 -DOUTPUT=page.1.gz -DVERSION=1.0 -P ManPage.cmake
file(READ "${SOURCE}" page)
# .TH NAME SECTION "date" "Fonarel 2010 VERSION" "User Commands"
string(REGEX REPLACE "(\n?\\.TH [^\n]*\"Fonarel 2010)[^\"]*\"" "\\1 ${VERSION}\"" page "${page}")
get_filename_component(name "${SOURCE}" NAME)
set(plain "${OUTPUT}.tmp/${name}")
file(WRITE "${plain}" "${page}")
execute_process(COMMAND gzip -9 -n -f "${plain}" RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "gzip ${plain}: ${status}")
endif()
file(RENAME "${plain}.gz" "${OUTPUT}")
file(REMOVE_RECURSE "${OUTPUT}.tmp")
