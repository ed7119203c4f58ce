kq_add_test(uiservices editorlib)
