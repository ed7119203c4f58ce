kq_add_test(management editorlib)
kq_add_test(managementthemes editorlib)
kq_add_test(managementlanguages editorlib)
