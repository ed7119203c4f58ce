# Built programs: the runner as users get it, building, the portable folder, the command line.
kq_add_test(elffile editorlib)
add_dependencies(tst_elffile run)
