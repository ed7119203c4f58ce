kq_add_test(mainwindow editorui)
kq_add_test(dialoglistview editorui)
kq_add_test(propertiespanel editorui)
kq_add_test(scriptcomposer editorui)
kq_add_test(programcommands editorui)
kq_add_test(mainwindowkeys editorui)
kq_add_test(projectdocument editorui runnerlib)
kq_add_test(stepclipboard editorui)
kq_add_test(stepediting editorui)
kq_add_test(findbar editorui)
kq_add_test(mainwindowdocument editorui)
kq_add_test(mainwindowstartup editorui)
# Random editing through the real window against a plain model; make monkey runs more seeds.
kq_add_test(editingmonkey editorui)
# Paste into every box, offscreen and under an X server of its own, where a cleared clipboard has
# no owner.
kq_add_test(pasteintoboxes editorui)
add_test(NAME pasteintoboxesx11 COMMAND tst_pasteintoboxes)
set_tests_properties(pasteintoboxesx11 PROPERTIES TIMEOUT 300 ENVIRONMENT
  "KQ_OWN_X_SERVER=1;${kq_sanitizer_env}")
kq_add_test(mainwindowremembered editorui)
# The main window on a screen of 1024 x 768.
add_test(NAME mainwindowsmallscreen COMMAND tst_mainwindowremembered fitsASmallScreen)
set_tests_properties(mainwindowsmallscreen PROPERTIES TIMEOUT 300 ENVIRONMENT
  "QT_QPA_PLATFORM=offscreen:configfile=${CMAKE_CURRENT_SOURCE_DIR}/offscreen-small.json")
kq_add_test(themepainter editorui)
kq_add_test(projectcommands editorui)
kq_add_test(recentprojectsmenu editorui)
kq_add_test(statusbar editorui)

# The editor installed for every user (a read-only program folder) and in a writable copy.
# `make test-unprivileged` runs the read-only cases again as an ordinary user, for whom they take
# the build's own folder when it belongs to someone else.
kq_add_test(sharedinstall editorui)
add_dependencies(tst_sharedinstall run run-portable)
set_tests_properties(sharedinstall PROPERTIES LABELS unprivileged)
kq_add_test(russianreasons editorui)
# The preview of a step: the runner's windows pixel for pixel, following edits, playing in place
# as the runner's step loop plays.
kq_add_test(preview editorui runnerlib)
