# Installs the build into a scratch prefix and checks what lands there: both programs in their own
# folder with links to them in bin/, the configuration in etc/ reached from beside them, the
# manuals, the desktop entry and its icon; that the installed command runs through its link and
# reads that configuration; and that a second install keeps a configuration edited in between.
#   cmake -DBUILD=dir -DPREFIX=dir -P check_install.cmake
file(REMOVE_RECURSE "${PREFIX}")

function(install_build)
  execute_process(COMMAND "${CMAKE_COMMAND}" --install "${BUILD}" --prefix "${PREFIX}" OUTPUT_QUIET RESULT_VARIABLE status)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "cmake --install failed: ${status}")
  endif()
endfunction()

install_build()
foreach(file libexec/fonarel/fonarel libexec/fonarel/fonarel-write etc/fonarel/RevoZadoz.ini
             share/man/man1/fonarel.1.gz share/man/man1/fonarel-write.1.gz share/applications/fonarel.desktop
             share/icons/hicolor/scalable/apps/fonarel.svg share/doc/fonarel/copyright)
  if(NOT EXISTS "${PREFIX}/${file}" OR IS_SYMLINK "${PREFIX}/${file}")
    message(FATAL_ERROR "not installed as a file: ${file}")
  endif()
endforeach()
foreach(link bin/fonarel:../libexec/fonarel/fonarel bin/fonarel-write:../libexec/fonarel/fonarel-write
             libexec/fonarel/RevoZadoz.ini:../../etc/fonarel/RevoZadoz.ini)
  string(REPLACE ":" ";" link "${link}")
  list(GET link 0 name)
  list(GET link 1 expected)
  file(READ_SYMLINK "${PREFIX}/${name}" target)
  if(NOT target STREQUAL expected)
    message(FATAL_ERROR "${name} links to '${target}', not to ${expected}")
  endif()
endforeach()

execute_process(COMMAND "${PREFIX}/bin/fonarel-write" --version OUTPUT_VARIABLE version RESULT_VARIABLE status)
if(NOT status EQUAL 0 OR NOT version MATCHES "^fonarel-write")
  message(FATAL_ERROR "the installed fonarel-write does not run: ${status} ${version}")
endif()
file(READ "${PREFIX}/share/applications/fonarel.desktop" entry)
if(NOT entry MATCHES "Exec=fonarel\n" OR NOT entry MATCHES "Icon=fonarel\n")
  message(FATAL_ERROR "the desktop entry does not start the window with its icon")
endif()

# The configuration as installed names no catalogue yet; the command started through bin/ says
# so about the file beside the program, which leads to etc/.
file(READ "${PREFIX}/etc/fonarel/RevoZadoz.ini" template)
if(NOT template MATCHES "\n;caminho=")
  message(FATAL_ERROR "the installed configuration sets a catalogue")
endif()
execute_process(COMMAND "${PREFIX}/bin/fonarel-write" --dry-run ERROR_VARIABLE error RESULT_VARIABLE status)
if(NOT status EQUAL 2 OR NOT error MATCHES "libexec/fonarel/RevoZadoz.ini names no database")
  message(FATAL_ERROR "the installed command does not read its configuration: ${status} ${error}")
endif()

# A configuration edited after the install survives the next one.
file(WRITE "${PREFIX}/etc/fonarel/RevoZadoz.ini" "[BANCO]\ncaminho=/srv/edited.fdb\n")
install_build()
file(READ "${PREFIX}/etc/fonarel/RevoZadoz.ini" kept)
if(NOT kept STREQUAL "[BANCO]\ncaminho=/srv/edited.fdb\n")
  message(FATAL_ERROR "a second install replaced the edited configuration")
endif()

# An install over the earlier layout (the programs themselves in bin/, their configuration beside
# them) carries that configuration over to etc/.
file(REMOVE_RECURSE "${PREFIX}")
file(WRITE "${PREFIX}/bin/fonarel-write" "earlier program")
file(WRITE "${PREFIX}/bin/RevoZadoz.ini" "[BANCO]\ncaminho=/srv/earlier.fdb\n")
install_build()
file(READ "${PREFIX}/etc/fonarel/RevoZadoz.ini" carried)
if(NOT carried STREQUAL "[BANCO]\ncaminho=/srv/earlier.fdb\n" OR EXISTS "${PREFIX}/bin/RevoZadoz.ini"
   OR NOT IS_SYMLINK "${PREFIX}/bin/fonarel-write")
  message(FATAL_ERROR "the earlier layout's configuration was not carried over")
endif()
file(REMOVE_RECURSE "${PREFIX}")
