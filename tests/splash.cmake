kq_add_test(splashwindow editorlib)
kq_add_test(aboutwindow editorlib)
