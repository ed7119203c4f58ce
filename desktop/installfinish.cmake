# Runs last in an installation, after installstart.cmake: writes and installs the desktop entry
# for the editor at its installed place, refreshes the desktop's caches unless the installation
# is staged (DESTDIR) and, unless it makes a package (KQ_PACKAGING), writes down what it
# installed for make uninstall. Given KQ_DESKTOP_IN, KQ_APPDIR and KQ_DATAROOT (below the
# prefix), and KQ_WORK, a folder of the build for the entry and the records.
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
get_filename_component(entry "${KQ_DESKTOP_IN}" NAME_WLE)
set(entry "${KQ_WORK}/entries/${key}/${entry}")
configure_file("${KQ_DESKTOP_IN}" "${entry}" @ONLY)
file(INSTALL DESTINATION "${CMAKE_INSTALL_PREFIX}/${KQ_DATAROOT}/applications" TYPE FILE
  FILES "${entry}")
file(REMOVE_RECURSE "${KQ_WORK}/entries/${key}")

if("$ENV{DESTDIR}" STREQUAL "")
  kq_refresh_caches("${KQ_ROOT}/${KQ_DATAROOT}")
endif()

if(KQ_PACKAGING)
  return()
endif()
# The record joins an earlier one of the same root: all of it is this program's to remove.
kq_install_record(record "${KQ_WORK}/records" "${KQ_ROOT}")
set(KQ_RECORDED_FILES)
set(KQ_RECORDED_LINKS)
set(KQ_RECORDED_FOLDERS)
if(EXISTS "${record}")
  include("${record}")
endif()
foreach(file IN LISTS CMAKE_INSTALL_MANIFEST_FILES)
  if(IS_SYMLINK "${file}")
    file(READ_SYMLINK "${file}" target)
    list(APPEND KQ_RECORDED_LINKS "${file}" "${target}")
  else()
    list(APPEND KQ_RECORDED_FILES "${file}")
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
