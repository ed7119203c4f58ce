kq_add_test(findingtext editorlib)
kq_add_test(flowview editorlib)
kq_add_test(problemsview editorlib)
