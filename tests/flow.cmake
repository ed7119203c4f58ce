kq_add_test(findingtext editorcore)
kq_add_test(flowview editorui)
kq_add_test(problemsview editorui)
kq_add_test(textsearch editorcore)
