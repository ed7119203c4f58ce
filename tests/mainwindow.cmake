kq_add_test(mainwindowlist editorlib)
