# Runs last in an installation, after installstart.cmake: writes and installs the desktop entry
# for the editor at its installed place, marks a program folder installed for every user,
# refreshes the desktop's caches unless the installation is staged (DESTDIR) and, unless it makes
# a package (KQ_PACKAGING), writes down what it installed for make uninstall. Given
# KQ_DESKTOP_IN, KQ_APPDIR and KQ_DATAROOT (below the prefix), KQ_MARKER, the name of the mark,
# and KQ_WORK, a folder of the build for the entry, the mark and the records.
include(${CMAKE_CURRENT_LIST_DIR}/installsteps.cmake)

# The desktop entry quotes the program only when its path holds a character that the entry's
# command line reserves, since launchers that read the entry plainly (xdg-open without a desktop
# environment) take a quote for part of the name. (installstart.cmake refused the characters
# that would need escaping inside the quotes.)
kq_install_root(appdir "" "${CMAKE_INSTALL_PREFIX}/${KQ_APPDIR}")
set(program "${appdir}/tavlen")
if(program MATCHES "[ \t'<>~|&;*?#()]")
  set(program "\"${program}\"")
endif()
set(KQ_EXEC "${program}")
set(KQ_TRYEXEC "${appdir}/tavlen")
# Installations into several roots at once (tests, a package beside make install) each write
# an entry of their own, which goes once it is installed.
string(MD5 key "${KQ_ROOT}")
set(work "${KQ_WORK}/entries/${key}")
get_filename_component(entry "${KQ_DESKTOP_IN}" NAME_WLE)
configure_file("${KQ_DESKTOP_IN}" "${work}/${entry}" @ONLY)
file(INSTALL DESTINATION "${CMAKE_INSTALL_PREFIX}/${KQ_DATAROOT}/applications" TYPE FILE
  FILES "${work}/${entry}")

# An installation by the superuser, or one staged for a package, is for every user: its program
# folder gets a mark naming the folder's place, and the editor never writes a folder so marked,
# not even when the superuser runs it. A user's installation of their own stays writable.
execute_process(COMMAND id -u OUTPUT_VARIABLE user OUTPUT_STRIP_TRAILING_WHITESPACE)
if(KQ_PACKAGING OR NOT "$ENV{DESTDIR}" STREQUAL "" OR user STREQUAL "0")
  file(WRITE "${work}/${KQ_MARKER}" "${appdir}\n")
  file(INSTALL DESTINATION "${CMAKE_INSTALL_PREFIX}/${KQ_APPDIR}" TYPE FILE
    FILES "${work}/${KQ_MARKER}")
endif()
file(REMOVE_RECURSE "${work}")

if("$ENV{DESTDIR}" STREQUAL "")
  kq_refresh_caches("${KQ_ROOT}/${KQ_DATAROOT}")
endif()

if(KQ_PACKAGING)
  return()
endif()
# The record joins an earlier one of the same root: all of it is this program's to remove. Each
# file is written down with its checksum as installed, so that make uninstall leaves a file the
# user has changed since; a file installed again takes its new checksum.
kq_install_record(record "${KQ_WORK}/records" "${KQ_ROOT}")
set(KQ_RECORDED_FILES)
set(KQ_RECORDED_LINKS)
set(KQ_RECORDED_FOLDERS)
if(EXISTS "${record}")
  include("${record}")
endif()
set(earlier ${KQ_RECORDED_FILES})
set(KQ_RECORDED_FILES)
foreach(entry IN LISTS earlier)
  kq_recorded_file(file sum "${entry}")
  list(FIND CMAKE_INSTALL_MANIFEST_FILES "${file}" again)
  if(again EQUAL -1)
    list(APPEND KQ_RECORDED_FILES "${entry}")
  endif()
endforeach()
foreach(file IN LISTS CMAKE_INSTALL_MANIFEST_FILES)
  if(IS_SYMLINK "${file}")
    file(READ_SYMLINK "${file}" target)
    list(APPEND KQ_RECORDED_LINKS "${file}" "${target}")
  else()
    file(SHA256 "${file}" sum)
    list(APPEND KQ_RECORDED_FILES "${sum} ${file}")
  endif()
endforeach()
list(APPEND KQ_RECORDED_FOLDERS ${KQ_MADE_FOLDERS})
list(REMOVE_DUPLICATES KQ_RECORDED_FILES)
list(REMOVE_DUPLICATES KQ_RECORDED_FOLDERS)
file(WRITE "${record}"
  "set(KQ_RECORDED_ROOT [==[${KQ_ROOT}]==])\n"
  "set(KQ_RECORDED_DATAROOT [==[${KQ_DATAROOT}]==])\n"
  "set(KQ_RECORDED_FILES [==[${KQ_RECORDED_FILES}]==])\n"
  "set(KQ_RECORDED_LINKS [==[${KQ_RECORDED_LINKS}]==])\n"
  "set(KQ_RECORDED_FOLDERS [==[${KQ_RECORDED_FOLDERS}]==])\n")
