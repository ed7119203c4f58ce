# Helpers of the install-time scripts (installstart, installfinish) and of make uninstall.

# The installation root, DESTDIR and prefix together, without a trailing "/".
function(kq_install_root variable destdir prefix)
  cmake_path(SET root NORMALIZE "${destdir}${prefix}")
  string(REGEX REPLACE "(.)/$" "\\1" root "${root}")
  set(${variable} "${root}" PARENT_SCOPE)
endfunction()

# The record of what an installation into root put there, in the build folder's records.
function(kq_install_record variable records root)
  string(MD5 key "${root}")
  set(${variable} "${records}/${key}.cmake" PARENT_SCOPE)
endfunction()

# The path and the checksum of one file of a record, written "<SHA-256> <path>". A record made
# before checksums were kept names the path alone, and its checksum is empty.
function(kq_recorded_file file sum entry)
  if(entry MATCHES "^([0-9a-f]+) (/.*)$")
    set(${sum} "${CMAKE_MATCH_1}" PARENT_SCOPE)
    set(${file} "${CMAKE_MATCH_2}" PARENT_SCOPE)
  else()
    set(${sum} "" PARENT_SCOPE)
    set(${file} "${entry}" PARENT_SCOPE)
  endif()
endfunction()

# The desktop's caches of a share folder, made again from what it holds now: the MIME database,
# the desktop entries' MIME cache and the hicolor icon cache (only a theme folder with its index
# keeps one; ~/.local usually has none). A database derived from nothing goes.
function(kq_refresh_caches share)
  file(GLOB packages "${share}/mime/packages/*")
  find_program(KQ_UPDATE_MIME update-mime-database)
  if(NOT packages)
    file(REMOVE_RECURSE "${share}/mime")
  elseif(KQ_UPDATE_MIME)
    execute_process(COMMAND ${KQ_UPDATE_MIME} "${share}/mime" OUTPUT_QUIET)
  endif()

  file(GLOB entries "${share}/applications/*.desktop")
  find_program(KQ_UPDATE_DESKTOP update-desktop-database)
  if(NOT entries)
    file(REMOVE "${share}/applications/mimeinfo.cache")
  elseif(KQ_UPDATE_DESKTOP)
    execute_process(COMMAND ${KQ_UPDATE_DESKTOP} -q "${share}/applications")
  endif()

  find_program(KQ_UPDATE_ICONS gtk-update-icon-cache)
  if(EXISTS "${share}/icons/hicolor/index.theme" AND KQ_UPDATE_ICONS)
    execute_process(COMMAND ${KQ_UPDATE_ICONS} -q -t -f "${share}/icons/hicolor")
  endif()
endfunction()
