# SPDX-License-Identifier: GPL-3.0-or-later
# Run by CPack on the staged files, before it packs them: strips the programs as Debian's
# dh_strip does. CPack's own stripping keeps the .comment and .note sections, which hold
# nothing a program needs (the compiler's name and version).
file(GLOB programs ${CPACK_TEMPORARY_INSTALL_DIRECTORY}/usr/bin/*)
foreach(program IN LISTS programs)
  execute_process(COMMAND strip --remove-section=.comment --remove-section=.note ${program}
                  RESULT_VARIABLE status)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "could not strip ${program}")
  endif()
endforeach()
