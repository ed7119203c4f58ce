kq_add_test(steploop runnerlib)
kq_add_test(runprocess project)
add_dependencies(tst_runprocess run)
kq_add_test(raiserequests runnerlib)
