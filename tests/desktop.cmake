# The editor as a desktop program: its installation.
kq_add_test(install editorlib)
if(TARGET tavlen)
  add_dependencies(tst_install tavlen)
endif()
