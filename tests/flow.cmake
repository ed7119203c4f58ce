kq_add_test(findingtext editorlib)
