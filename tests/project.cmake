kq_add_test(dialogrecord project)
kq_add_test(buttonscript project)
kq_add_test(projectcheck project)
kq_add_test(codepage project)
