# Built programs: the runner as users get it, building, the portable folder, the command line.
kq_add_test(elffile editorcore)
add_dependencies(tst_elffile run run-portable tavlen)
kq_add_test(programbuilder editorcore)
add_dependencies(tst_programbuilder run)

# A library that needs one the loader cannot find: no run path leads to it.
add_library(kq_gone SHARED data/libraries/gone.cpp)
add_library(kq_needy SHARED data/libraries/needy.cpp)
target_link_libraries(kq_needy PRIVATE kq_gone)
set_target_properties(kq_needy PROPERTIES SKIP_BUILD_RPATH ON)
kq_add_test(librarybundle editorcore)
add_dependencies(tst_librarybundle run kq_needy)
target_compile_definitions(tst_librarybundle PRIVATE KQ_NEEDY_LIBRARY="$<TARGET_FILE:kq_needy>")

kq_add_test(portablebuild editorcore)
add_dependencies(tst_portablebuild run run-portable)
kq_add_test(commandline editorcore)
kq_add_test(steptable editorcore)
kq_add_test(webpagebuilder editorcore)
# The Windows player's table reader has no Windows in it: the test reads back what builds write.
kq_add_test(windowsprogrambuilder editorcore)
target_sources(tst_windowsprogrambuilder PRIVATE ${CMAKE_SOURCE_DIR}/winplayer/table.cpp)
target_include_directories(tst_windowsprogrambuilder PRIVATE ${CMAKE_SOURCE_DIR}/winplayer)
# Plays each sample and crafted project in the runner's loop and as a page in headless Chromium.
kq_add_test(webpage editorcore runnerlib)
# Plays the same projects, and more, in the runner's loop and as a Windows program under Wine.
kq_add_test(windowsprogram editorcore runnerlib)
target_include_directories(tst_windowsprogram PRIVATE ${CMAKE_SOURCE_DIR}/winplayer)
if(TARGET windowsplayer)
  add_dependencies(tst_windowsprogram windowsplayer)
endif()
kq_add_test(tavlen editorui)
add_dependencies(tst_tavlen tavlen)
