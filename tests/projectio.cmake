kq_add_test(projectio project)
kq_add_test(legacyimport project)
kq_add_test(wholefile project)
