# Runs at install time (cmake --install, and CPack's staging for the package), when the prefix
# installed to is known. Lays out what is reached from beside the programs:
#   PREFIX/bin/fonarel, fonarel-write     links to the programs in PREFIX/LIBEXEC/fonarel/
#   ETC/fonarel/RevoZadoz.ini             the configuration, installed only when absent
#   PREFIX/LIBEXEC/fonarel/RevoZadoz.ini  a link to it, where the programs look for it
# ETC is /etc for the prefix /usr (the package) and PREFIX/etc for any other prefix, as
# GNUInstallDirs places the system configuration.
# Set before this script: FONAREL_BINDIR, FONAREL_PROGRAMDIR (relative to the prefix),
# FONAREL_PROGRAMS, FONAREL_INI_TEMPLATE.
set(prefix "${CMAKE_INSTALL_PREFIX}")
string(REGEX REPLACE "/+$" "" prefix "${prefix}")
if(prefix STREQUAL "/usr" OR prefix STREQUAL "")
  set(etc "/etc")
else()
  set(etc "${prefix}/etc")
endif()
set(destdir "$ENV{DESTDIR}")
set(ini "${etc}/fonarel/RevoZadoz.ini")
set(programs "${prefix}/${FONAREL_PROGRAMDIR}")

# The configuration: what an administrator wrote is never overwritten. An install over the
# earlier layout, whose programs read RevoZadoz.ini in bin/, carries that file over.
set(earlier "${destdir}${prefix}/${FONAREL_BINDIR}/RevoZadoz.ini")
if(EXISTS "${destdir}${ini}")
  message(STATUS "Kept: ${destdir}${ini}")
elseif(EXISTS "${earlier}" AND NOT IS_SYMLINK "${earlier}")
  message(STATUS "Moving: ${earlier} to ${destdir}${ini}")
  file(MAKE_DIRECTORY "${destdir}${etc}/fonarel")
  file(RENAME "${earlier}" "${destdir}${ini}")
else()
  # file(INSTALL) adds DESTDIR itself.
  file(INSTALL "${FONAREL_INI_TEMPLATE}" DESTINATION "${etc}/fonarel"
       PERMISSIONS OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ)
endif()

# Links: relative within the prefix, absolute to a configuration outside it.
function(fonarel_link target link)
  message(STATUS "Installing: ${destdir}${link} -> ${target}")
  get_filename_component(folder "${destdir}${link}" DIRECTORY)
  file(MAKE_DIRECTORY "${folder}")
  file(CREATE_LINK "${target}" "${destdir}${link}" SYMBOLIC)
  list(APPEND CMAKE_INSTALL_MANIFEST_FILES "${destdir}${link}")
  set(CMAKE_INSTALL_MANIFEST_FILES "${CMAKE_INSTALL_MANIFEST_FILES}" PARENT_SCOPE)
endfunction()

function(fonarel_relative_or_absolute out target from)
  cmake_path(IS_PREFIX prefix "${target}" NORMALIZE inside)
  if(inside AND NOT prefix STREQUAL "")
    cmake_path(RELATIVE_PATH target BASE_DIRECTORY "${from}" OUTPUT_VARIABLE target)
  endif()
  set(${out} "${target}" PARENT_SCOPE)
endfunction()

fonarel_relative_or_absolute(target "${ini}" "${programs}")
fonarel_link("${target}" "${programs}/RevoZadoz.ini")
foreach(program IN LISTS FONAREL_PROGRAMS)
  cmake_path(RELATIVE_PATH programs BASE_DIRECTORY "${prefix}/${FONAREL_BINDIR}" OUTPUT_VARIABLE target)
  fonarel_link("${target}/${program}" "${prefix}/${FONAREL_BINDIR}/${program}")
endforeach()
