# The editor as a desktop program: its installation, its Debian package, and Qt's texts in the
# editor's language. Installing and packaging take the built programs and documents as they are.
kq_add_test(install editorui)
kq_add_test(package project)
foreach(test tst_install tst_package)
  target_compile_definitions(${test} PRIVATE KQ_BUILD_DIR="${CMAKE_BINARY_DIR}")
  add_dependencies(${test} installable)
endforeach()
kq_add_test(qttranslation editorui)
