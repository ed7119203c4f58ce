# make uninstall: removes what installations into one root put there, as their record in the
# build folder says, and nothing else. Given KQ_RECORDS (the build folder's records) and
# KQ_DESTDIR and KQ_PREFIX as make install was given them:
#   cmake -DKQ_RECORDS=build/installed -DKQ_PREFIX=$HOME/.local -P desktop/uninstall.cmake
# A file is removed only while it is what was installed (its checksum as installed, a link still
# leading where it led), and a folder only when the installation made it and it is empty now, so
# files the user has changed, folders that were there before and files that others put beside
# ours stay; each changed file kept is named. The desktop's caches are made again, or removed
# where they would be derived from nothing.
include(${CMAKE_CURRENT_LIST_DIR}/installsteps.cmake)

kq_install_root(root "${KQ_DESTDIR}" "${KQ_PREFIX}")
kq_install_record(record "${KQ_RECORDS}" "${root}")
if(NOT EXISTS "${record}")
  message(FATAL_ERROR "Nothing was installed into ${root} from this build folder")
endif()
include("${record}")

foreach(entry IN LISTS KQ_RECORDED_FILES)
  kq_recorded_file(file sum "${entry}")
  if(EXISTS "${file}" AND NOT IS_SYMLINK "${file}" AND NOT IS_DIRECTORY "${file}")
    file(SHA256 "${file}" now)
    if(now STREQUAL sum)
      file(REMOVE "${file}")
    else()
      message(STATUS "Kept ${file}: it changed since it was installed")
    endif()
  endif()
endforeach()
while(KQ_RECORDED_LINKS)
  list(POP_FRONT KQ_RECORDED_LINKS link target)
  if(IS_SYMLINK "${link}")
    file(READ_SYMLINK "${link}" now)
    if(now STREQUAL target)
      file(REMOVE "${link}")
    endif()
  endif()
endwhile()

if("${KQ_DESTDIR}" STREQUAL "")
  kq_refresh_caches("${root}/${KQ_RECORDED_DATAROOT}")
endif()

# Deepest first, so a folder is empty once its own made folders are gone.
list(SORT KQ_RECORDED_FOLDERS ORDER DESCENDING)
foreach(folder IN LISTS KQ_RECORDED_FOLDERS)
  file(GLOB left LIST_DIRECTORIES true "${folder}/*" "${folder}/.*")
  if(IS_DIRECTORY "${folder}" AND NOT left)
    file(REMOVE_RECURSE "${folder}")
  endif()
endforeach()
file(REMOVE "${record}")
message(STATUS "Removed what was installed into ${root}")
