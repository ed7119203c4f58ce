# The editor as a desktop program: its installation, and Qt's texts in the editor's language.
kq_add_test(install editorui)
if(TARGET tavlen)
  add_dependencies(tst_install tavlen)
endif()
kq_add_test(qttranslation editorui)
