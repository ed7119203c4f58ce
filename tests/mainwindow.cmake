kq_add_test(mainwindow editorlib)
kq_add_test(mainwindowlist editorlib)
kq_add_test(mainwindowpanel editorlib)
kq_add_test(mainwindowrun editorlib)
