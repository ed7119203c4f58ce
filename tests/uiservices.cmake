kq_add_test(uiservices editorui)
