kq_add_test(management editorlib)
