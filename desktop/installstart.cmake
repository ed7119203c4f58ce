# Runs first in an installation (cmake --install, make install, cpack), given KQ_FOLDERS, the
# folders below the prefix that it puts files into, and KQ_APPDIR, the program folder below the
# prefix. Keeps in KQ_MADE_FOLDERS those folders that do not exist yet, with their parents up to
# the installation root, so that make uninstall removes exactly the folders the installation
# made and leaves those that were there before.
include(${CMAKE_CURRENT_LIST_DIR}/installsteps.cmake)

# The desktop entry names the program; characters that would need escaping inside its quotes
# are refused rather than mangled, before anything is installed.
kq_install_root(appdir "" "${CMAKE_INSTALL_PREFIX}/${KQ_APPDIR}")
if(appdir MATCHES "[\"`$\\%\n]")
  message(FATAL_ERROR
    "The program folder ${appdir} holds one of \" ` $ \\ % or a line break, which the desktop "
    "entry cannot name; choose another prefix")
endif()

kq_install_root(KQ_ROOT "$ENV{DESTDIR}" "${CMAKE_INSTALL_PREFIX}")
set(KQ_MADE_FOLDERS)
foreach(folder IN LISTS KQ_FOLDERS)
  set(path "${KQ_ROOT}/${folder}")
  while(NOT EXISTS "${path}" AND NOT path STREQUAL KQ_ROOT)
    list(APPEND KQ_MADE_FOLDERS "${path}")
    get_filename_component(path "${path}" DIRECTORY)
  endwhile()
endforeach()
